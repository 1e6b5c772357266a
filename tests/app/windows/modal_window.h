// Driving a modal window from a test: the caller's exec() blocks, so the test acts from the event loop.
#pragma once

#include <QApplication>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <functional>

namespace ovn {

// Runs `act` on the modal window once it is up, while the caller's exec() waits.
inline void WhenModalOpens(std::function<void(QWidget*)> act) {
  QTimer::singleShot(0, [act = std::move(act)] {
    QTRY_VERIFY(QApplication::activeModalWidget() != nullptr);
    act(QApplication::activeModalWidget());
  });
}

}  // namespace ovn
