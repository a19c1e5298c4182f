#include "navigator/ui/edit_note_dialog.h"

#include "storage/bookmark_store.h"
#include "storage/person_names.h"
#include "storage/undo_log.h"
#include "text/localisation.h"
#include "text/ui/form_grid.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

TfrmEditNote::TfrmEditNote(QWidget* parent)
    : QDialog(parent), lblNote_(new QLabel(this)), txtNote_(new QPlainTextEdit(this)),
      btOk_(new QPushButton(this)), btCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmEditNote"));
    txtNote_->setObjectName(QStringLiteral("txtNote"));
    btOk_->setObjectName(QStringLiteral("btOk"));
    btOk_->setDefault(true);
    btCancel_->setObjectName(QStringLiteral("btCancel"));
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(kWindowMargin, kWindowMargin, kWindowMargin, kWindowMargin);
    column->setSpacing(kRowSpacing);
    lblNote_->setBuddy(txtNote_);
    KeepReadingAlignment(lblNote_);
    column->addWidget(lblNote_);
    column->addWidget(txtNote_, 1);
    auto* buttons = new QHBoxLayout;
    buttons->setSpacing(kSpacing);
    buttons->addStretch(1);
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    column->addLayout(buttons);
    connect(btOk_, &QPushButton::clicked, this, &QDialog::accept);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
    TranslateTexts();
    resize(420, 260);
}

void TfrmEditNote::TranslateTexts() {
    lblNote_->setText(TranslateContext(QStringLiteral("Note of the bookmark"), QStringLiteral("bookmarks")) +
                      u':');
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

bool TfrmEditNote::Edit(const QString& caption, QString& note) {
    setWindowTitle(caption);
    txtNote_->setPlainText(note);
    txtNote_->moveCursor(QTextCursor::End);
    txtNote_->setFocus();
    TranslateTexts();
    if (exec() != QDialog::Accepted)
        return false;
    note = txtNote_->toPlainText();
    return true;
}

void TfrmEditNote::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

bool EditPersonBookmark(TfrmEditNote& dialog, const QString& personId) {
    const QString id = personId.trimmed();
    if (id.isEmpty())
        return false;
    QString oid;
    QString note;
    GetPersonBookmark(id, oid, note);
    if (!dialog.Edit(GetLineageName(id), note))
        return false;
    UndoStep step(StepText("Edit the bookmark of «%*»", {id}), id);
    if (note.trimmed().isEmpty())
        return oid.trimmed().isEmpty() || DeletePersonBookmark(id);
    return oid.trimmed().isEmpty() ? SetPersonBookmark(id, note) : SetBookmarkNote(oid, note);
}

} // namespace verdan
