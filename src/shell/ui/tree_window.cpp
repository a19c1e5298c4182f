#include "shell/ui/tree_window.h"

#include "navigator/ui/tree_frame.h"
#include "reports/ui/name_search_box.h"
#include "shell/ui/main_window.h"
#include "storage/tree_file.h"
#include "text/localisation.h"
#include "text/ui/escape_closes.h"

#include <QBoxLayout>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QSplitter>
#include <QToolButton>
#include <QTreeView>

namespace verdan {

namespace {

constexpr int kCascadeStep = 10;

// Where the last tree window was closed, or the corner the next one steps away from.
QPoint& CascadePosition() {
    static QPoint position;
    return position;
}

} // namespace

TfrmTreeWindow::TfrmTreeWindow(QWidget* owner)
    : QWidget(owner, Qt::Window), btStayOnTop_(new QToolButton), btClose_(new QPushButton),
      splitter_(new QSplitter(Qt::Vertical)), search_(new TNameSearchBox(splitter_)),
      framTree_(new TframTree(splitter_)) {
    CloseOnEscape(this);
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frmTreeWindow"));
    btStayOnTop_->setObjectName(QStringLiteral("btStayOnTop"));
    btStayOnTop_->setCheckable(true);
    btStayOnTop_->setChecked(true);
    btClose_->setObjectName(QStringLiteral("btClose"));
    btClose_->setAutoDefault(false);

    splitter_->addWidget(search_);
    splitter_->addWidget(framTree_);
    splitter_->setCollapsible(0, false);
    splitter_->setCollapsible(1, false);
    splitter_->setStretchFactor(1, 1);
    search_->SetOutline(framTree_->View());

    auto* bar = new QHBoxLayout;
    bar->addWidget(btStayOnTop_);
    bar->addStretch(1);
    bar->addWidget(btClose_);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(4, 4, 4, 4);
    column->addWidget(splitter_, 1);
    column->addLayout(bar);

    connect(btStayOnTop_, &QToolButton::toggled, this, &TfrmTreeWindow::SetStayOnTop);
    connect(btClose_, &QPushButton::clicked, this, &QWidget::close);
    connect(search_, &TNameSearchBox::personSelected, this, &TfrmTreeWindow::PersonSelected);
    connect(search_, &TNameSearchBox::personSelected, framTree_, &TframTree::ShowFoundPerson);
    connect(search_, &TNameSearchBox::personChosen, this, [this](const QString& id) {
        if (framTree_->LocatePerson(id))
            framTree_->View()->setFocus();
    });
    connect(framTree_, &TframTree::PersonSelected, this, &TfrmTreeWindow::PersonSelected);

    SetStayOnTop(true);
    TranslateTexts();
    resize(360, 620);
}

TfrmTreeWindow* TfrmTreeWindow::Open(QWidget* owner, const QString& personId) {
    auto* window = new TfrmTreeWindow(owner);
    const QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    QPoint& cascade = CascadePosition();
    cascade += QPoint(kCascadeStep, kCascadeStep);
    // Start again at the corner rather than open a window mostly off the screen.
    if (cascade.x() + window->width() / 2 > area.width() ||
        cascade.y() + window->height() / 2 > area.height())
        cascade = QPoint(kCascadeStep, kCascadeStep);
    window->move(area.topLeft() + cascade);
    if (auto* main = qobject_cast<TfrmFamilyMain*>(owner))
        connect(main, &TfrmFamilyMain::TreeClosed, window, &QWidget::close);
    window->ShowPerson(personId);
    window->show();
    return window;
}

void TfrmTreeWindow::ResetCascade() {
    CascadePosition() = QPoint();
}

void TfrmTreeWindow::ShowPerson(const QString& personId) {
    if (personId.trimmed().isEmpty())
        return;
    if (filled_)
        framTree_->LocatePerson(personId);
    else
        pendingPersonId_ = personId;
}

bool TfrmTreeWindow::IsStayOnTop() const {
    return windowFlags().testFlag(Qt::WindowStaysOnTopHint);
}

void TfrmTreeWindow::SetStayOnTop(bool on) {
    if (btStayOnTop_->isChecked() != on)
        btStayOnTop_->setChecked(on);
    if (IsStayOnTop() == on)
        return;
    // Changing the window's flags hides it; it comes back where it was.
    const bool shown = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, on);
    if (shown)
        show();
}

void TfrmTreeWindow::TranslateTexts() {
    setWindowTitle(Translate(QStringLiteral("Tree")));
    btStayOnTop_->setText(Translate(QStringLiteral("Stay on Top")));
    btStayOnTop_->setToolTip(Translate(QStringLiteral("Stay on Top")));
    btClose_->setText(Translate(QStringLiteral("&Close")));
}

void TfrmTreeWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (filled_ || !IsTreeOpen())
        return;
    filled_ = true;
    framTree_->OpenTree(false);
    search_->CollapseResults();
    if (!pendingPersonId_.isEmpty())
        framTree_->LocatePerson(pendingPersonId_);
    pendingPersonId_.clear();
}

void TfrmTreeWindow::closeEvent(QCloseEvent* event) {
    CascadePosition() = pos() - (screen() ? screen()->availableGeometry().topLeft() : QPoint());
    framTree_->ReloadTree(false);
    search_->ClearResults();
    filled_ = false;
    event->accept();
}

void TfrmTreeWindow::changeEvent(QEvent* event) {
    if (event->type() == QEvent::LanguageChange)
        TranslateTexts();
    QWidget::changeEvent(event);
}

} // namespace verdan
