// The wizard pages on the desktop backend: their widgets carry the captions,
// each page is rendered to a PNG in the build folder, and a rejected entry
// takes the focus back.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPushButton>
#include <QWidget>

#include "platform_qt/support.h"
#include "simulation/gparameter.h"
#include "state/state.h"

namespace {

using qttest::pumpUntil;

class WizardWindows : public qttest::QtTest {
protected:
    WizardWindows() {
        shared::resetSharedState();
        shared::PortCount = 2;
        shared::ParameterHeader.ScrewSpeed = 200;
    }
    ~WizardWindows() override { shared::resetSharedState(); }

    // Shows the page and checks its title, first and last labels and the
    // Next button as the desktop shows them; keeps a picture of it.
    void expectPage(ui::Form& page, const std::string& caption, const ui::Label& first, const std::string& firstText,
                    const ui::Label& last, const std::string& lastText) {
        page.show();
        QWidget* window = backend->windowOf(page);
        ASSERT_TRUE(window && pumpUntil([&] { return window->isVisible(); }));
        EXPECT_EQ(window->windowTitle().toStdString(), caption);
        EXPECT_EQ(qobject_cast<QLabel*>(backend->widgetOf(first))->text().toStdString(), firstText);
        EXPECT_EQ(qobject_cast<QLabel*>(backend->widgetOf(last))->text().toStdString(), lastText);
        auto* next = qobject_cast<QPushButton*>(backend->widgetOf(*page.control("Command2")));
        EXPECT_EQ(next->text().toStdString(), "Next >>");
        const std::string shot = std::string(VELKOR_BINARY_DIR) + "/" + page.className() + ".png";
        EXPECT_TRUE(window->grab().save(QString::fromStdString(shot)));
    }
};

TEST_F(WizardWindows, PagesShowTheirCaptionsAndARejectedEntryTakesTheFocusBack) {
    Gparameter2& p2 = ui::form<Gparameter2>();
    expectPage(p2, "General Parameter - step 2", p2.Label1, "Bulk Density of Solid (g/cm^3)", p2.Label10,
               "Solid feed Temperature (C)");
    Gparameter3& p3 = ui::form<Gparameter3>();
    expectPage(p3, "General Parameter - step 3", p3.Label1, "Density of Solid in Melting Region (g/cc)", p3.Label4,
               "Heat of Fusion (J/g)");
    Gparameter4& p4 = ui::form<Gparameter4>();
    expectPage(p4, "General Parameter - step 4", p4.Label1, "Flow Rate through Port 1(kg/hr)", p4.Label11,
               "Screw Temperature (C)");
    Gparameter1& p1 = ui::form<Gparameter1>();
    expectPage(p1, "General Parameter - step 1", p1.Label1, "Screw Rotational Speed (RPM)", p1.Label2,
               "Die Pressure (MPa) -  Optional");

    auto* speed = qobject_cast<QLineEdit*>(backend->widgetOf(p1.Text1));
    EXPECT_EQ(speed->text().toStdString(), "200");
    speed->setText("0.01");
    qttest::MessageAnswerer answerer({QMessageBox::Ok});
    QWidget* pressure = backend->widgetOf(p1.Text2);
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), pressure->mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pressure, &press);
    ASSERT_TRUE(pumpUntil([&] { return answerer.seen().size() == 1; }));
    EXPECT_EQ(answerer.seen()[0].text, "Screw speed too small. You have to re-input.");
    EXPECT_EQ(answerer.seen()[0].title, "Input parameter");
    qttest::pump();
    EXPECT_EQ(p1.activeControl(), &p1.Text1);
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 200);

    // Cancel closes the page though the box still holds the refused entry.
    qobject_cast<QPushButton*>(backend->widgetOf(p1.Command1))->click();
    EXPECT_TRUE(pumpUntil([&] { return !p1.isLoaded(); }));
    EXPECT_EQ(answerer.seen().size(), 1u);
}

}  // namespace
