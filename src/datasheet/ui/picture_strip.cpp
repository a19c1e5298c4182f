#include "picture_strip.h"

#include "datasheet/sheet_pictures.h"

#include <QGuiApplication>
#include <QPainter>
#include <QPixmap>
#include <QStyledItemDelegate>

namespace verdan {

namespace {

// A white (or black) cell with the picture fitted into it, framed blue when selected and grey otherwise.
class TPictureCellDelegate : public QStyledItemDelegate {
public:
    explicit TPictureCellDelegate(TPictureStrip* strip) : QStyledItemDelegate(strip), strip_(strip) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override {
        const QRect cell = option.rect.adjusted(1, 1, -1, -1);
        const bool selected = option.state & QStyle::State_Selected;
        painter->save();
        painter->fillRect(cell, strip_->CellColour());
        const QImage thumbnail = index.data(Qt::DecorationRole).value<QImage>();
        if (!thumbnail.isNull()) {
            QRect target(QPoint(0, 0), thumbnail.size()
                                           .scaled(cell.size().shrunkBy({4, 4, 4, 4}), Qt::KeepAspectRatio)
                                           .boundedTo(thumbnail.size()));
            target.moveCenter(cell.center());
            painter->setRenderHint(QPainter::SmoothPixmapTransform);
            painter->drawImage(target, thumbnail);
        }
        painter->setBrush(Qt::NoBrush);
        painter->setPen(selected ? QPen(QColor(0, 0, 255), 2) : QPen(QColor(128, 128, 128), 1));
        painter->drawRect(selected ? cell.adjusted(1, 1, -1, -1) : cell);
        painter->restore();
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return {TPictureStrip::kCellWidth, TPictureStrip::kCellHeight};
    }

private:
    TPictureStrip* strip_;
};

} // namespace

void TPictureStripModel::SetPictures(const TPPictureList& pictures) {
    beginResetModel();
    pictures_ = pictures;
    endResetModel();
}

int TPictureStripModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(pictures_.size());
}

QVariant TPictureStripModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= pictures_.size())
        return {};
    const TPPicture& picture = pictures_[index.row()];
    switch (role) {
    case Qt::DecorationRole:
        return Thumbnails().Thumbnail(PictureFileLocation(picture.file_path), thumbnail_);
    case Qt::ToolTipRole:
        return picture.pic_description;
    case Qt::AccessibleTextRole:
        return picture.pic_description.isEmpty() ? picture.file_path : picture.pic_description;
    case PictureIdRole:
        return picture.picture_id;
    case FileRole:
        return picture.file_path;
    default:
        return {};
    }
}

TPictureStrip::TPictureStrip(bool wrapping, QWidget* parent)
    : QListView(parent), model_(new TPictureStripModel(this)) {
    setModel(model_);
    setItemDelegate(new TPictureCellDelegate(this));
    setViewMode(QListView::IconMode);
    setFlow(QListView::LeftToRight);
    setWrapping(wrapping);
    setResizeMode(QListView::Adjust);
    setMovement(QListView::Static);
    setUniformItemSizes(true);
    setSpacing(0);
    setGridSize({kCellWidth, kCellHeight});
    setSelectionMode(QAbstractItemView::SingleSelection);
    setHorizontalScrollBarPolicy(wrapping ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAsNeeded);
    if (!wrapping)
        setFixedHeight(kCellHeight + 2 * frameWidth() + 18);
    connect(this, &QAbstractItemView::pressed, this, [this](const QModelIndex& index) {
        emit PictureChosen(index.data(TPictureStripModel::PictureIdRole).toString());
    });
    connect(selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& current) {
        // Mouse presses are told by pressed(); the keys move the choice here.
        if (current.isValid() && hasFocus() && QGuiApplication::mouseButtons() == Qt::NoButton)
            emit PictureChosen(current.data(TPictureStripModel::PictureIdRole).toString());
    });
}

void TPictureStrip::SetPictures(const TPPictureList& pictures) {
    model_->SetPictures(pictures);
}

QString TPictureStrip::CurrentPictureId() const {
    return currentIndex().data(TPictureStripModel::PictureIdRole).toString();
}

bool TPictureStrip::SelectPicture(const QString& pictureId) {
    for (int row = 0; row < model_->rowCount(); ++row) {
        const QModelIndex index = model_->index(row);
        if (index.data(TPictureStripModel::PictureIdRole).toString() == pictureId) {
            const QSignalBlocker blocker(selectionModel());
            setCurrentIndex(index);
            selectionModel()->select(index, QItemSelectionModel::ClearAndSelect);
            viewport()->update();
            return true;
        }
    }
    return false;
}

} // namespace verdan
