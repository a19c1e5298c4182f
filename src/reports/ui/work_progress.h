#pragma once

#include <QString>

class QProgressDialog;
class QWidget;

namespace verdan {

// Progress of a long report or print: a dialog with a Cancel button that shows itself only once the work
// has taken half a second, and the hourglass meanwhile. Step() lets the window repaint and tells whether
// the user cancelled.
class TWorkProgress {
public:
    TWorkProgress(QWidget* parent, const QString& label);
    ~TWorkProgress();
    TWorkProgress(const TWorkProgress&) = delete;
    TWorkProgress& operator=(const TWorkProgress&) = delete;

    // False once the user cancelled.
    bool Step(int done, int total);
    bool Cancelled() const;

    static constexpr int kShowAfterMs = 500;

private:
    QProgressDialog* dialog_;
};

} // namespace verdan
