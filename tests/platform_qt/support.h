#pragma once
// Helpers of the desktop backend's tests: a fixture that installs the
// backend and forgets every window afterwards, bounded event processing,
// and an answerer for the message boxes that a test expects.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include "platform/qt/qt_backend.h"
#include "platform/ui/application.h"

namespace qttest {

// Processes events (queued input included) until done() holds; false when
// it still does not after a bounded number of rounds.
inline bool pumpUntil(const std::function<bool()>& done, int rounds = 500) {
    for (int i = 0; i < rounds; ++i) {
        if (done()) return true;
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    return done();
}

inline void pump(int rounds = 20) {
    pumpUntil([] { return false; }, rounds);
}

struct SeenMessage {
    std::string title;
    std::string text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

// Answers each message box that opens with the next of the given buttons
// and records what it showed. A box beyond the answers is closed, so a test
// never hangs on one.
class MessageAnswerer {
public:
    explicit MessageAnswerer(std::vector<QMessageBox::StandardButton> answers) : answers_(std::move(answers)) {
        timer_.setInterval(0);
        QObject::connect(&timer_, &QTimer::timeout, [this] { poll(); });
        timer_.start();
    }
    const std::vector<SeenMessage>& seen() const { return seen_; }

private:
    void poll() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) return;
        SeenMessage m;
        m.title = box->windowTitle().toStdString();
        m.text = box->text().toStdString();
        m.icon = box->icon();
        if (box->defaultButton()) m.defaultButton = box->standardButton(box->defaultButton());
        seen_.push_back(m);
        std::size_t n = seen_.size() - 1;
        QAbstractButton* button = n < answers_.size() ? box->button(answers_[n]) : nullptr;
        if (button)
            button->click();
        else
            box->reject();
    }
    std::vector<QMessageBox::StandardButton> answers_;
    std::vector<SeenMessage> seen_;
    QTimer timer_;
};

class QtTest : public ::testing::Test {
protected:
    QtTest() : backend(std::make_unique<qtui::Backend>()) { ui::app().setTitle("Velkor test"); }
    ~QtTest() override {
        ui::app().reset();
        backend.reset();
        pump(5);
    }
    std::unique_ptr<qtui::Backend> backend;
};

}  // namespace qttest
