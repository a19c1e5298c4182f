#include "picture_adding.h"

#include "datasheet/sheet_pictures.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/busy_cursor.h"
#include "text/ui/file_dialogs.h"

#include <QDateTime>
#include <QDropEvent>
#include <QImage>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

namespace verdan {

namespace {

// One refusal alone keeps its own headline; several are listed under one.
void TellRefusals(const QStringList& messages) {
    if (messages.size() == 1)
        MsgError(messages.first());
    else if (!messages.isEmpty()) {
        QStringList lines;
        for (QString message : messages)
            lines << message.replace(u'|', QStringLiteral(": "));
        MsgError(Translate(QStringLiteral("Some files were not added.")) + u'|' + lines.join(u'\n'));
    }
}

class TPictureDrops : public QObject {
public:
    TPictureDrops(QWidget* target, std::function<bool()> accepts, std::function<void(const QStringList&)> add)
        : QObject(target), accepts_(std::move(accepts)), add_(std::move(add)) {
        target->setAcceptDrops(true);
        target->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        const auto type = event->type();
        if (type == QEvent::DragEnter || type == QEvent::DragMove) {
            auto* drag = static_cast<QDropEvent*>(event);
            const QStringList files = PictureFilesOf(drag->mimeData());
            if (!files.isEmpty())
                files_ = files;
            if (!files_.isEmpty() && accepts_()) {
                drag->setDropAction(Qt::CopyAction);
                drag->accept();
            } else {
                drag->ignore();
            }
            return true;
        }
        if (type == QEvent::DragLeave) {
            files_.clear();
            return true;
        }
        if (type == QEvent::Drop) {
            auto* drop = static_cast<QDropEvent*>(event);
            QStringList files = PictureFilesOf(drop->mimeData());
            if (files.isEmpty())
                files = files_;
            files_.clear();
            drop->setDropAction(Qt::CopyAction);
            drop->accept();
            if (!files.isEmpty() && accepts_())
                add_(files);
            return true;
        }
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<bool()> accepts_;
    std::function<void(const QStringList&)> add_;
    QStringList files_;
};

} // namespace

void TakePictureDrops(QWidget* target, std::function<bool()> accepts,
                      std::function<void(const QStringList& files)> add) {
    new TPictureDrops(target, std::move(accepts), std::move(add));
}

QStringList PictureFilesOf(const QMimeData* mime) {
    QStringList files;
    if (!mime || !mime->hasUrls())
        return files;
    for (const QUrl& url : mime->urls())
        if (url.isLocalFile())
            files << url.toLocalFile();
    return files;
}

bool CarriesPictures(const QMimeData* mime) {
    return mime && (!PictureFilesOf(mime).isEmpty() || mime->hasImage());
}

QString AddPicturesToPerson(const QString& personId, const QStringList& files) {
    if (personId.trimmed().isEmpty() || files.isEmpty())
        return {};
    QString lastAdded;
    QStringList refusals;
    {
        TBusyCursor busy;
        UndoStep step(
            StepText(files.size() == 1 ? "Add a picture to «%*»" : "Add pictures to «%*»", {personId}),
            personId);
        for (const QString& file : files) {
            TPPicture picture;
            const TAddPictureResult result = AddPictureFile(personId, file, picture);
            if (result == TAddPictureResult::Added)
                lastAdded = picture.picture_id;
            else
                refusals << AddPictureMessage(result, file);
        }
    }
    TellRefusals(refusals);
    return lastAdded;
}

QString AddPicturesFrom(const QString& personId, const QMimeData* mime) {
    if (personId.trimmed().isEmpty() || !mime)
        return {};
    const QStringList files = PictureFilesOf(mime);
    if (!files.isEmpty())
        return AddPicturesToPerson(personId, files);
    const QImage image = qvariant_cast<QImage>(mime->imageData());
    if (image.isNull())
        return {};
    TPPicture picture;
    TAddPictureResult result;
    {
        TBusyCursor busy;
        UndoStep step(StepText("Add a picture to «%*»", {personId}), personId);
        result = AddPictureImage(personId, image, QDateTime::currentDateTime(), picture);
    }
    if (result != TAddPictureResult::Added) {
        TellRefusals({AddPictureMessage(result, Translate(QStringLiteral("Pasted picture")))});
        return {};
    }
    return picture.picture_id;
}

QStringList ChoosePictureFiles() {
    return OpenFilesDialog(Translate(QStringLiteral("Pictures")) +
                               QStringLiteral(" (*.jpg *.jpeg *.png *.bmp *.gif *.JPG *.JPEG "
                                              "*.PNG *.BMP *.GIF)"),
                           QString());
}

} // namespace verdan
