#include "web/ui/web_export_dialog.h"

#include "reports/ui/work_progress.h"
#include "text/localisation.h"
#include "text/messages.h"
#include "text/ui/file_dialogs.h"
#include "text/ui/form_grid.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace verdan {

namespace {

// The languages a site can be written in, by their built-in documents; each named in its own language.
struct SiteLanguage {
    const char* Code;
    const char* Document;
    const char* Name;
};

constexpr SiteLanguage kLanguages[] = {
    {"ar", "arabic.local", "العربية"},
    {"en", "english.local", "English"},
    {"fa", "persian.local", "فارسی"},
    {"ur", "urdu.local", "اردو"},
};

// The folder chosen last for each tree, while the program runs.
QHash<QString, QString>& ChosenFolders() {
    static QHash<QString, QString> folders;
    return folders;
}

QString Caption(const char* source) {
    return TranslateContext(QString::fromUtf8(source), QStringLiteral("export_option"));
}

} // namespace

TfrmWebExport::TfrmWebExport(QWidget* parent)
    : QDialog(parent), lblTitle_(new QLabel(this)), txtTitle_(new QLineEdit(this)),
      lblLanguage_(new QLabel(this)), cmbLanguage_(new QComboBox(this)), lblLiving_(new QLabel(this)),
      rbHide_(new QRadioButton(this)), rbNames_(new QRadioButton(this)), rbShow_(new QRadioButton(this)),
      lblFolder_(new QLabel(this)), txtFolder_(new QLineEdit(this)), btBrowse_(new QPushButton(this)),
      chkOpen_(new QCheckBox(this)), btOk_(new QPushButton(this)), btCancel_(new QPushButton(this)) {
    setObjectName(QStringLiteral("frmWebExport"));
    for (const SiteLanguage& language : kLanguages)
        cmbLanguage_->addItem(QString::fromUtf8(language.Name), QString::fromLatin1(language.Code));
    // A path reads from its root in every language.
    txtFolder_->setLayoutDirection(Qt::LeftToRight);
    rbHide_->setChecked(true);
    chkOpen_->setChecked(true);
    btOk_->setDefault(true);

    auto* fields = new QWidget(this);
    auto* form = new TFormGrid(fields);
    form->AddRow(lblTitle_, txtTitle_);
    form->AddRow(lblLanguage_, cmbLanguage_);
    form->AddRow(lblLiving_, rbHide_);
    form->AddRow(nullptr, rbNames_);
    form->AddRow(nullptr, rbShow_);
    form->AddRow(lblFolder_, txtFolder_, {btBrowse_});
    form->AddRow(nullptr, chkOpen_);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(btOk_);
    buttons->addWidget(btCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(fields);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    txtFolder_->setMinimumWidth(360);

    connect(btBrowse_, &QPushButton::clicked, this, &TfrmWebExport::BrowseClick);
    connect(btOk_, &QPushButton::clicked, this, &TfrmWebExport::OkClick);
    connect(btCancel_, &QPushButton::clicked, this, &QDialog::reject);
    TranslateTexts();
}

void TfrmWebExport::Prepare(const QString& treeName, const QString& treeFile) {
    txtTitle_->setText(treeName);
    const int language = cmbLanguage_->findData(InterfaceLanguageCode());
    cmbLanguage_->setCurrentIndex(language >= 0 ? language : 0);
    const QString folder = ChosenFolders().value(treeFile);
    txtFolder_->setText(QDir::toNativeSeparators(
        !folder.isEmpty() ? folder : QFileInfo(treeFile).absoluteDir().filePath(QStringLiteral("website"))));
    txtTitle_->setFocus();
    txtTitle_->selectAll();
    setProperty("treeFile", treeFile);
}

TWebOptions TfrmWebExport::Options() const {
    TWebOptions options;
    options.Title = txtTitle_->text().trimmed();
    options.Language = cmbLanguage_->currentData().toString();
    options.Living = rbShow_->isChecked()    ? TLivingMode::Show
                     : rbNames_->isChecked() ? TLivingMode::Names
                                             : TLivingMode::Hide;
    return options;
}

QString TfrmWebExport::Folder() const {
    return QDir::fromNativeSeparators(txtFolder_->text().trimmed());
}

bool TfrmWebExport::OpenAfterwards() const {
    return chkOpen_->isChecked();
}

void TfrmWebExport::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QDialog::changeEvent(event);
}

void TfrmWebExport::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Export to Web Page")));
    lblTitle_->setText(Caption("Title"));
    lblLanguage_->setText(Translate(QStringLiteral("Language")));
    lblLiving_->setText(TranslateContext(QStringLiteral("Living persons"), QStringLiteral("web")));
    rbHide_->setText(TranslateContext(QStringLiteral("Hide their names and details"), QStringLiteral("web")));
    rbNames_->setText(TranslateContext(QStringLiteral("Names only"), QStringLiteral("web")));
    rbShow_->setText(TranslateContext(QStringLiteral("Show everything"), QStringLiteral("web")));
    lblFolder_->setText(TranslateContext(QStringLiteral("Folder"), QStringLiteral("create_new_tree")));
    btBrowse_->setText(Translate(QStringLiteral("&Browse")) + QStringLiteral(".."));
    chkOpen_->setText(Caption("Open exported page"));
    btOk_->setText(Translate(QStringLiteral("&OK")));
    btCancel_->setText(Translate(QStringLiteral("&Cancel")));
}

void TfrmWebExport::BrowseClick() {
    const QString folder = FolderDialog(this, lblFolder_->text(), Folder());
    if (!folder.isEmpty())
        txtFolder_->setText(QDir::toNativeSeparators(folder));
}

void TfrmWebExport::OkClick() {
    if (Folder().isEmpty()) {
        txtFolder_->setFocus();
        return;
    }
    ChosenFolders().insert(property("treeFile").toString(), Folder());
    accept();
}

bool ExportWebsiteWithProgress(QWidget* parent, const QString& folder, const TWebOptions& options,
                               TWebExportSummary& summary) {
    QString error;
    bool ok, cancelled;
    {
        TWorkProgress progress(parent, Translate(QStringLiteral("Export to Web Page")));
        // The site speaks its own language: its document is loaded for the export, the interface's after.
        const QString interfaceDocument = Local().FileName;
        const bool otherLanguage = options.Language != InterfaceLanguageCode();
        if (otherLanguage) {
            for (const SiteLanguage& language : kLanguages)
                if (options.Language == QLatin1String(language.Code))
                    LoadLanguage(QStringLiteral(":/langs/") + QString::fromLatin1(language.Document));
        }
        ok = ExportWebsite(
            folder, options, [&](const TWebProgress& p) { return progress.Step(p.Done, p.Total); }, summary,
            error);
        if (otherLanguage)
            LoadLanguage(interfaceDocument);
        cancelled = progress.Cancelled();
    }
    if (!ok && !cancelled)
        MsgErrorRtl(error);
    return ok;
}

} // namespace verdan
