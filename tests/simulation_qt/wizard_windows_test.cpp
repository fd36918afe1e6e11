// The four wizard pages on the desktop backend: their widgets carry the
// captions, each page is rendered to a PNG in the build folder, and a
// rejected entry takes the focus back.
#include <gtest/gtest.h>

#include <filesystem>
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
        shared::SolidsParams.BulkDensity = 0.5f;
        shared::MeltingParams.Density = 0.75f;
    }
    ~WizardWindows() override { shared::resetSharedState(); }

    // Shows the page, checks its title, labels and buttons as the desktop
    // shows them, and keeps a picture of it.
    void expectPage(ui::Form& page, const std::string& caption, const std::vector<const ui::Label*>& labels,
                    const std::vector<std::string>& texts) {
        QWidget* window = backend->windowOf(page);
        ASSERT_NE(window, nullptr);
        ASSERT_TRUE(pumpUntil([&] { return window->isVisible(); }));
        EXPECT_EQ(window->windowTitle().toStdString(), caption);
        for (std::size_t i = 0; i < labels.size(); ++i) {
            auto* l = qobject_cast<QLabel*>(backend->widgetOf(*labels[i]));
            ASSERT_NE(l, nullptr);
            EXPECT_EQ(l->text().toStdString(), texts[i]);
        }
        auto* next = qobject_cast<QPushButton*>(backend->widgetOf(*page.control("Command2")));
        auto* cancel = qobject_cast<QPushButton*>(backend->widgetOf(*page.control("Command1")));
        ASSERT_TRUE(next && cancel);
        EXPECT_EQ(cancel->text().toStdString(), "Cancel");
        const std::string shot = std::string(VELKOR_BINARY_DIR) + "/" + page.className() + ".png";
        EXPECT_TRUE(window->grab().save(QString::fromStdString(shot)));
    }
};

TEST_F(WizardWindows, EachPageShowsItsLabelsAndButtons) {
    Gparameter1& p1 = ui::form<Gparameter1>();
    p1.show();
    expectPage(p1, "General Parameter - step 1", {&p1.Label1, &p1.Label2},
               {"Screw Rotational Speed (RPM)", "Die Pressure (MPa) -  Optional"});
    EXPECT_EQ(qobject_cast<QLineEdit*>(backend->widgetOf(p1.Text1))->text().toStdString(), "200");

    Gparameter2& p2 = ui::form<Gparameter2>();
    p2.show();
    expectPage(p2, "General Parameter - step 2", {&p2.Label1, &p2.Label6, &p2.Label10},
               {"Bulk Density of Solid (g/cm^3)", "Heat Transfer Coefficient at Barrel Surface (W/m^2-K)",
                "Solid feed Temperature (C)"});

    Gparameter3& p3 = ui::form<Gparameter3>();
    p3.show();
    expectPage(p3, "General Parameter - step 3", {&p3.Label1, &p3.Label4},
               {"Density of Solid in Melting Region (g/cc)", "Heat of Fusion (J/g)"});

    Gparameter4& p4 = ui::form<Gparameter4>();
    p4.show();
    expectPage(p4, "General Parameter - step 4", {&p4.Label1, &p4.Label7, &p4.Label11},
               {"Flow Rate through Port 1(kg/hr)", "Power Law Index n (0.1 - 1.0)", "Screw Temperature (C)"});
    EXPECT_EQ(qobject_cast<QPushButton*>(backend->widgetOf(p4.Command2))->text().toStdString(), "Next >>");
}

TEST_F(WizardWindows, ARejectedEntryTakesTheFocusBack) {
    Gparameter1& p1 = ui::form<Gparameter1>();
    p1.show();
    auto* speed = qobject_cast<QLineEdit*>(backend->widgetOf(p1.Text1));
    QWidget* pressure = backend->widgetOf(p1.Text2);
    ASSERT_TRUE(pumpUntil([&] { return speed->isVisible(); }));
    speed->setText("0.01");
    qttest::MessageAnswerer answerer({QMessageBox::Ok});
    QMouseEvent press(QEvent::MouseButtonPress, QPointF(3, 3), pressure->mapToGlobal(QPointF(3, 3)),
                      Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(pressure, &press);
    ASSERT_TRUE(pumpUntil([&] { return answerer.seen().size() == 1; }));
    EXPECT_EQ(answerer.seen()[0].text, "Screw speed too small. You have to re-input.");
    EXPECT_EQ(answerer.seen()[0].title, "Input parameter");
    qttest::pump();
    EXPECT_EQ(p1.activeControl(), &p1.Text1);
    EXPECT_FLOAT_EQ(shared::ParameterHeader.ScrewSpeed, 200);
}

}  // namespace
