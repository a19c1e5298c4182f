#pragma once

#include "web/web_export.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace verdan {

// File > Export to Web Page: the site's title, language, what it shows of living persons, its folder,
// and whether to open it afterwards. The caller shows it modally and, when accepted, reads the choices.
class TfrmWebExport : public QDialog {
    Q_OBJECT
public:
    explicit TfrmWebExport(QWidget* parent = nullptr);

    // Fills the fields for the open tree: its name as the title, the interface language, the folder
    // "website" beside the tree file (or the one chosen last time for it).
    void Prepare(const QString& treeName, const QString& treeFile);

    TWebOptions Options() const;
    QString Folder() const;
    bool OpenAfterwards() const;

protected:
    void changeEvent(QEvent* event) override;

private:
    void TranslateTexts();
    void BrowseClick();
    void OkClick();

    QLabel* lblTitle_;
    QLineEdit* txtTitle_;
    QLabel* lblLanguage_;
    QComboBox* cmbLanguage_;
    QLabel* lblLiving_;
    QRadioButton* rbHide_;
    QRadioButton* rbNames_;
    QRadioButton* rbShow_;
    QLabel* lblFolder_;
    QLineEdit* txtFolder_;
    QPushButton* btBrowse_;
    QCheckBox* chkOpen_;
    QPushButton* btOk_;
    QPushButton* btCancel_;
};

// Writes the site with a progress window and Cancel, in the chosen language whatever the interface's; says
// why it failed unless the user cancelled. True when the site was written.
bool ExportWebsiteWithProgress(QWidget* parent, const QString& folder, const TWebOptions& options,
                               TWebExportSummary& summary);

} // namespace verdan
