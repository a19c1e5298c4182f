#pragma once

#include <QString>
#include <exception>

namespace verdan {

// Tells the user that a command failed on an unexpected error; the window stays usable.
void ReportSlotFailure(const QString& reason) noexcept;

// Runs the body of a slot so that no exception leaves it: the toolkit's event loop must never see one.
template <typename F> void RunSafely(F&& body) noexcept {
    try {
        body();
    } catch (const std::exception& error) {
        ReportSlotFailure(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        ReportSlotFailure(QString());
    }
}

} // namespace verdan
