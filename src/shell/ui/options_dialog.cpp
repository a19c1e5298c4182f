#include "options_dialog.h"

#include "shell/startup.h"
#include "text/localisation.h"
#include "text/program_folder.h"
#include "text/user_options.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

QString AbsoluteLanguageFile(const QString& file) {
    return QDir::cleanPath(QDir(ProgramFolder()).absoluteFilePath(file));
}

} // namespace

Tfrm_Options::Tfrm_Options(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("frm_Options"));
    lblLanguage_ = new QLabel(this);
    cmbLanguage_ = new QComboBox(this);
    lblHijriCalendar_ = new QLabel(this);
    cmbHijriCalendar_ = new QComboBox(this);
    lblHijriCalendar_->setBuddy(cmbHijriCalendar_);
    chkOpenLastTree_ = new QCheckBox(this);
    chkLevelColors_ = new QCheckBox(this);
    btOk_ = new QPushButton(this);
    btOk_->setDefault(true);
    btCancel_ = new QPushButton(this);

    // Language and calendar share one column of labels and one of lists.
    auto* choices = new QGridLayout;
    choices->addWidget(lblLanguage_, 0, 0);
    choices->addWidget(cmbLanguage_, 0, 1);
    choices->addWidget(lblHijriCalendar_, 1, 0);
    choices->addWidget(cmbHijriCalendar_, 1, 1);
    choices->setColumnStretch(1, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(choices);
    layout->addWidget(chkOpenLastTree_);
    layout->addWidget(chkLevelColors_);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(380, 210);

    connect(btOk_, &QPushButton::clicked, this, &Tfrm_Options::accept);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
}

void Tfrm_Options::showEvent(QShowEvent* event) {
    setWindowTitle(Translate(QStringLiteral("Options")));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
    lblLanguage_->setText(Translate(QStringLiteral("Language")) + u':');
    chkOpenLastTree_->setText(Translate(QStringLiteral("Open last Tree on startup")));
    chkLevelColors_->setText(Translate(QStringLiteral("Different Color for each level")));
    chkOpenLastTree_->setChecked(Options().OpenLastTreeOnStartup);
    chkLevelColors_->setChecked(Options().LevelsHasColors);
    lblHijriCalendar_->setText(Translate(QStringLiteral("&Hijri calendar")) + u':');
    cmbHijriCalendar_->clear();
    cmbHijriCalendar_->addItem(Translate(QStringLiteral("Tabular")));
    cmbHijriCalendar_->addItem(Translate(QStringLiteral("Umm al-Qura")));
    cmbHijriCalendar_->setCurrentIndex(Options().UmmAlQura ? 1 : 0);

    cmbLanguage_->clear();
    const QString current = AbsoluteLanguageFile(Local().FileName);
    for (const TLocal_Language& language : ListLanguageFiles()) {
        cmbLanguage_->addItem(language.NativeName + QStringLiteral("  ") + language.Name, language.FileName);
        if (AbsoluteLanguageFile(language.FileName) == current)
            cmbLanguage_->setCurrentIndex(cmbLanguage_->count() - 1);
    }
    QDialog::showEvent(event);
}

void Tfrm_Options::accept() {
    TOptions& options = Options();
    options.OpenLastTreeOnStartup = chkOpenLastTree_->isChecked();
    options.LevelsHasColors = chkLevelColors_->isChecked();
    options.UmmAlQura = cmbHijriCalendar_->currentIndex() == 1;
    ApplyHijriCalendar();
    const QString before = AbsoluteLanguageFile(Local().FileName);
    if (cmbLanguage_->currentIndex() >= 0)
        options.LanguageFile = cmbLanguage_->currentData().toString();
    SaveOptions();
    QDialog::accept();
    if (AbsoluteLanguageFile(ResolveLanguageFile(options.LanguageFile)) != before) {
        StartLanguage();
        emit LanguageChanged();
    }
}

} // namespace verdan
