#pragma once

#include <QImage>
#include <QPoint>
#include <QWidget>

namespace verdan {

// A picture shown fitted into the widget, on the widget's background, that can be zoomed and dragged.
// Without a picture it shows a neutral silhouette when told to (a person whose pictures cannot be shown).
class TPictureView : public QWidget {
    Q_OBJECT
public:
    explicit TPictureView(QWidget* parent = nullptr);

    void SetImage(const QImage& image);
    // Nothing shown; with placeholder, the silhouette.
    void Clear(bool placeholder = false);
    const QImage& Image() const { return image_; }
    bool HasImage() const { return !image_.isNull(); }
    bool ShowsPlaceholder() const { return placeholder_; }
    // The size the picture is drawn at, and its centre in the widget.
    QSize ShownSize() const { return shown_; }
    QPoint Centre() const { return centre_; }
    // Back to the picture fitted into the widget and centred.
    void Fit();
    // Grows (positive) or shrinks the picture by that many pixels on every side.
    void GrowBy(int pixels);
    // The browser's zoom: ten steps of 3 per cent in or out, shown as they go.
    void ZoomSteps(bool in);
    // What the sheet does with a press: left grows, right shrinks (false: the press is left to others).
    void SetPressZooms(bool on) { pressZooms_ = on; }
    // Ctrl and the wheel zoom in steps.
    void SetWheelZooms(bool on) { wheelZooms_ = on; }

    QSize sizeHint() const override;

signals:
    void DoubleClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    QSize FittedSize() const;
    void KeepInside();

    QImage image_;
    bool placeholder_ = false;
    bool fitted_ = true;
    QSize shown_;
    QPoint centre_;
    QPoint pressPos_;
    QPoint pressCentre_;
    bool dragging_ = false;
    bool pressZooms_ = false;
    bool wheelZooms_ = false;
};

} // namespace verdan
