#pragma once

#include <QWidget>

class QLabel;
class QToolButton;

namespace verdan {

// What the main window shows while no tree is open: a greeting and the ways to start, each one click away
// (a new tree, a tree file, a GEDCOM file, the sample family, and the recent trees when there are any).
class TframWelcome : public QWidget {
    Q_OBJECT
public:
    explicit TframWelcome(QWidget* parent = nullptr);

    void TranslateTexts();
    // The recent trees' button is offered only while the list has entries.
    void SetRecentTreesShown(bool shown);

    QToolButton* NewTreeButton() const { return btNewTree_; }
    QToolButton* OpenButton() const { return btOpen_; }
    QToolButton* ImportButton() const { return btImport_; }
    QToolButton* SampleButton() const { return btSample_; }
    QToolButton* RecentButton() const { return btRecent_; }

signals:
    void NewTreeRequested();
    void OpenRequested();
    void ImportRequested();
    void SampleRequested();
    void RecentTreesRequested();

private:
    QToolButton* AddCommand(const char16_t* icon, const char* name);

    QLabel* imgLogo_;
    QLabel* lblTitle_;
    QLabel* lblText_;
    QWidget* commands_;
    QToolButton* btNewTree_;
    QToolButton* btOpen_;
    QToolButton* btImport_;
    QToolButton* btSample_;
    QToolButton* btRecent_;
};

} // namespace verdan
