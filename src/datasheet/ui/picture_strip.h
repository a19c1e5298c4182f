#pragma once

#include "storage/picture_store.h"

#include <QAbstractListModel>
#include <QColor>
#include <QListView>

namespace verdan {

// The pictures of a person for a strip, without their images: a cell draws a small picture of the file,
// made when the cell first shows and kept in memory (Thumbnails()).
class TPictureStripModel : public QAbstractListModel {
    Q_OBJECT
public:
    static constexpr int PictureIdRole = Qt::UserRole + 1;
    static constexpr int FileRole = Qt::UserRole + 2;

    using QAbstractListModel::QAbstractListModel;
    void SetPictures(const TPPictureList& pictures);
    const TPPictureList& Pictures() const { return pictures_; }
    void SetThumbnailSize(const QSize& size) { thumbnail_ = size; }

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    TPPictureList pictures_;
    QSize thumbnail_{57, 62};
};

// A strip of picture cells, 65 x 70 pixels each: one row in the data sheet, rows as many as needed in the
// picture browser. A press on a cell chooses its picture.
class TPictureStrip : public QListView {
    Q_OBJECT
public:
    static constexpr int kCellWidth = 65;
    static constexpr int kCellHeight = 70;

    explicit TPictureStrip(bool wrapping, QWidget* parent = nullptr);

    void SetPictures(const TPPictureList& pictures);
    const TPPictureList& Pictures() const { return model_->Pictures(); }
    int Count() const { return static_cast<int>(model_->Pictures().size()); }
    QString CurrentPictureId() const;
    // Makes the picture's cell current (no signal); false when the strip does not hold it.
    bool SelectPicture(const QString& pictureId);
    void SetCellColour(const QColor& colour) { cell_ = colour; }
    QColor CellColour() const { return cell_; }

signals:
    // The user pressed a cell, or moved to it with the keys.
    void PictureChosen(const QString& pictureId);

private:
    TPictureStripModel* model_;
    QColor cell_ = Qt::white;
};

} // namespace verdan
