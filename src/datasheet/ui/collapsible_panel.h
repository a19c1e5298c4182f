#pragma once

#include <QPoint>
#include <QWidget>

class QVBoxLayout;

namespace verdan {

// The title bar of a collapsible panel: an arrow and the title, drawn from the reading direction's side.
// A click, Space, Enter, or the arrow keys toggle the panel; dragging it starts moving the panel.
class TPanelTitle : public QWidget {
    Q_OBJECT
public:
    explicit TPanelTitle(QWidget* parent);

    QString Text() const { return text_; }
    void SetText(const QString& text);
    void SetCollapsed(bool collapsed);
    // Where the arrow is drawn, for the reading direction in force.
    QRect ArrowRect() const;

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

signals:
    void Clicked();
    void DragStarted();
    // Expand (true) or collapse (false) asked for from the keyboard.
    void ExpandRequested(bool expand);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QString text_;
    bool collapsed_ = false;
    QPoint pressPos_;
    bool pressed_ = false;
};

// A titled panel whose content folds away under its title bar. The drag started from the title carries
// the panel's object name in kPanelMimeType, so the container can move it.
class TCollapsiblePanel : public QWidget {
    Q_OBJECT
public:
    static const char* const kPanelMimeType;

    explicit TCollapsiblePanel(QWidget* parent = nullptr);

    // The title is shown with a leading blank, as every section title is.
    void SetTitle(const QString& title);
    QString Title() const;
    TPanelTitle* TitleBar() const { return title_; }

    // The panel takes ownership of the content.
    void SetContent(QWidget* content);
    QWidget* Content() const { return content_; }

    bool IsCollapsed() const { return collapsed_; }
    // Expanding signals Expanding before the content shows, so it can be filled first; both directions
    // then signal CollapsedChanged. Setting the state it already has does nothing.
    void SetCollapsed(bool collapsed);
    void Toggle() { SetCollapsed(!collapsed_); }

signals:
    void Expanding();
    void CollapsedChanged(bool collapsed);

private:
    void StartDrag();

    TPanelTitle* title_;
    QVBoxLayout* layout_;
    QWidget* content_ = nullptr;
    bool collapsed_ = false;
};

} // namespace verdan
