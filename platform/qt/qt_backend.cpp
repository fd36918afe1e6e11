#include "platform/qt/qt_backend.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QEventLoop>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMessageBox>
#include <QPageLayout>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QTimer>
#include <QTreeView>
#include <QVBoxLayout>

#include "platform/io/files.h"
#include "platform/qt/qt_paint.h"
#include "platform/qt/qt_peer.h"
#include "platform/rt/error.h"
#include "platform/ui/application.h"

namespace qtui {

namespace {

// The printable area when no printer is configured: A4 less 6.35 mm on
// every side, as the printer's default settings assume.
constexpr double kPdfMarginMm = 6.35;

bool hasWildcard(const QString& name) {
    return name.contains(QLatin1Char('*')) || name.contains(QLatin1Char('?'));
}

// "description|pattern|description|pattern" as Qt name filters.
QStringList nameFilters(const std::string& filter, QStringList* patterns) {
    QStringList parts = toQString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString pattern = parts[i + 1].trimmed();
        pattern.replace(QLatin1Char(';'), QLatin1Char(' '));
        filters << parts[i] + QStringLiteral(" (") + pattern + QLatin1Char(')');
        if (patterns) *patterns << pattern;
    }
    return filters;
}

QString dialogPath(const std::string& path) { return pathToQString(path); }

// The message, input and set-up boxes: a title and a close button, as such
// boxes have, so the title has the most room.
constexpr Qt::WindowFlags kBoxFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

// The width a box needs for the window manager to show its title whole:
// the title in the bold face of title bars, and beside it the frame's icon
// and buttons, each about two text lines wide (some window managers show
// all three buttons on a box that asks for a close button only).
int titleWidth(const QWidget& box) {
    QFont font = QApplication::font("QMdiSubWindowTitleBar");
    font.setBold(true);
    const QFontMetrics metrics(font);
    return metrics.horizontalAdvance(box.windowTitle()) + 8 * metrics.height();
}

// A message box lays out its text and buttons itself; a strut below them
// makes it as wide as its title needs as well.
void fitTitle(QMessageBox& box) {
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(titleWidth(box), 0, QSizePolicy::Fixed, QSizePolicy::Minimum), grid->rowCount(), 0,
                      1, grid->columnCount());
}

// The file dialog. A pattern in its file-name box (it opens with one when
// the program presets one) chooses the files listed when accepted, as a
// pattern typed there does, instead of naming a file.
class FileDialog : public QFileDialog {
public:
    FileDialog(QWidget* parent, const QString& title, const QString& dir, QStringList filters, QStringList patterns)
        : QFileDialog(parent, title, dir), filters_(std::move(filters)), patterns_(std::move(patterns)) {}

    void accept() override {
        auto* name = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        const QString typed = name ? name->text().trimmed() : QString();
        if (!hasWildcard(typed)) {
            QFileDialog::accept();
            return;
        }
        qsizetype index = patterns_.indexOf(typed);
        if (index < 0) {
            filters_ << typed;
            patterns_ << typed;
            setNameFilters(filters_);
            index = filters_.size() - 1;
        }
        selectNameFilter(filters_[index]);
    }

    // The pattern of the filter shown, a typed one included. (With the
    // details hidden, the selected name filter is the description alone.)
    QString shownPattern() const {
        auto* types = findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        const qsizetype index = types ? types->currentIndex() : -1;
        return index >= 0 && index < patterns_.size() ? patterns_[index] : QString();
    }

    // Wide enough for the size, type and date columns to show whole beside
    // the names; those columns follow their contents.
    void fitColumns() {
        if (auto* view = findChild<QTreeView*>(QStringLiteral("treeView"))) {
            QHeaderView* header = view->header();
            header->setStretchLastSection(false);
            header->setSectionResizeMode(0, QHeaderView::Stretch);
            for (int col = 1; col < header->count(); ++col)
                header->setSectionResizeMode(col, QHeaderView::ResizeToContents);
        }
        const int wide = fontMetrics().averageCharWidth() * 110;
        const int high = fontMetrics().height() * 28;
        QSize size = sizeHint().expandedTo(QSize(wide, high));
        if (const QScreen* screen = this->screen()) size = size.boundedTo(screen->availableGeometry().size());
        resize(size);
    }

private:
    QStringList filters_;
    QStringList patterns_;
};

ui::PrinterSettings settingsOf(const QPrinter& printer, const QString& name) {
    ui::PrinterSettings s;
    s.name = fromQString(name);
    QRectF area = printer.pageLayout().paintRectPoints();
    if (area.width() > 0 && area.height() > 0) {
        s.pageWidth = static_cast<gfx::Twips>(area.width() * 20.0);
        s.pageHeight = static_cast<gfx::Twips>(area.height() * 20.0);
    }
    return s;
}

}  // namespace

// ---- set-up -----------------------------------------------------------------

Backend::Backend() {
    if (!QApplication::instance()) throw std::logic_error("the desktop backend needs a QApplication");
    // The program ends by Exit or when its main window goes, never because
    // some window was the last one open (the splash closes before the main
    // window has children).
    QApplication::setQuitOnLastWindowClosed(false);
    context_ = new QObject;
    pump_ = new QTimer(context_);
    pump_->setSingleShot(true);
    pump_->setInterval(0);
    QObject::connect(pump_, &QTimer::timeout, context_, [this] { runNext(); });
    ui::app().setBackend(this);
}

Backend::~Backend() {
    if (ui::app().backend() == this) ui::app().setBackend(nullptr);
    quitLoops();
    // Widgets go now, while Qt is still there; the peers the windows still
    // hold are empty shells afterwards.
    std::vector<FormPeer*> live = peers_;
    for (FormPeer* p : live) {
        p->detach();
        if (QWidget* w = p->window()) delete w;
    }
    unloaded_.clear();
    peers_.clear();
    delete context_;
}

FormPeer* Backend::peerOf(const ui::Form& form) const {
    for (FormPeer* p : peers_)
        if (&p->form() == &form && !p->detached()) return p;
    return nullptr;
}

FormPeer* Backend::mainPeer() const {
    for (FormPeer* p : peers_)
        if (p->isMain() && !p->detached()) return p;
    return nullptr;
}

QWidget* Backend::windowOf(const ui::Form& form) const {
    FormPeer* p = peerOf(form);
    return p ? p->window() : nullptr;
}

QWidget* Backend::surfaceOf(const ui::Form& form) const {
    FormPeer* p = peerOf(form);
    return p ? p->surface() : nullptr;
}

QWidget* Backend::widgetOf(const ui::Control& control) const {
    FormPeer* p = peerOf(control.form());
    return p ? p->widgetOf(&control) : nullptr;
}

QAction* Backend::actionOf(const ui::MenuItem& item) const {
    FormPeer* p = peerOf(item.form());
    return p ? p->actionOf(&item) : nullptr;
}

QMdiArea* Backend::mdiArea() const {
    FormPeer* p = mainPeer();
    return p ? p->mdiArea() : nullptr;
}

QWidget* Backend::dialogParent() const {
    if (ui::Form* f = ui::app().activeForm()) {
        if (FormPeer* p = peerOf(*f); p && p->window() && p->window()->isVisible()) return p->window()->window();
    }
    if (FormPeer* p = mainPeer(); p && p->window() && p->window()->isVisible()) return p->window();
    return QApplication::activeWindow();
}

// ---- peers ------------------------------------------------------------------

std::unique_ptr<ui::FormPeer> Backend::createPeer(ui::Form& form) {
    sweep();
    auto peer = std::make_unique<FormPeer>(*this, form);
    peers_.push_back(peer.get());
    return peer;
}

void Backend::destroyPeer(std::unique_ptr<ui::FormPeer> peer) {
    auto* p = dynamic_cast<FormPeer*>(peer.get());
    if (!p) return;
    peers_.erase(std::remove(peers_.begin(), peers_.end(), p), peers_.end());
    p->detach();
    // Its widgets may be in the middle of an event of their own: Qt deletes
    // them later; the peer stays until they are gone.
    peer.release();
    unloaded_.emplace_back(p);
    sweep();
}

void Backend::sweep() {
    unloaded_.erase(std::remove_if(unloaded_.begin(), unloaded_.end(),
                                   [](const std::unique_ptr<FormPeer>& p) { return p->gone(); }),
                    unloaded_.end());
}

// ---- queued input -----------------------------------------------------------

Backend::Block::Block(Backend& b) : backend(b) { ++backend.blocked_; }

Backend::Block::~Block() {
    --backend.blocked_;
    backend.arm();
}

void Backend::post(std::shared_ptr<const bool> alive, std::function<void()> action) {
    queue_.push_back({std::move(alive), std::move(action)});
    arm();
}

void Backend::arm() {
    if (blocked_ == 0 && !queue_.empty() && !pump_->isActive()) pump_->start();
}

void Backend::runNext() {
    if (blocked_ > 0) return;
    sweep();
    while (!queue_.empty()) {
        Pending next = std::move(queue_.front());
        queue_.pop_front();
        if (!next.alive || !*next.alive) continue;
        // The next input may have to run inside a loop that this one opens
        // (a modal window).
        arm();
        runGuarded(next.action);
        return;
    }
}

void Backend::runGuarded(const std::function<void()>& action) {
    try {
        action();
    } catch (const ui::ProgramEnded&) {
        quitLoops();
    } catch (const rt::Error& e) {
        messageBox({ui::Application::runTimeErrorText(e), ui::app().title(), ui::kOkOnly, ui::kCritical, false});
    } catch (const std::exception& e) {
        rt::Error error(51, e.what());
        messageBox({ui::Application::runTimeErrorText(error), ui::app().title(), ui::kOkOnly, ui::kCritical, false});
    }
}

void Backend::quitLoops() {
    for (QEventLoop* loop : loops_) loop->quit();
}

// ---- loops ------------------------------------------------------------------

void Backend::runModal(ui::Form& form) {
    FormPeer* p = peerOf(form);
    if (!form.isLoaded() || !p) return;
    QEventLoop loop;
    p->setModalLoop(&loop);
    loops_.push_back(&loop);
    arm();
    loop.exec();
    loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
    if (peerOf(form) == p) p->setModalLoop(nullptr);
}

void Backend::run(ui::Form& mainForm) {
    FormPeer* p = peerOf(mainForm);
    if (!mainForm.isLoaded() || !p || ui::app().ended()) return;
    QEventLoop loop;
    p->setModalLoop(&loop);
    loops_.push_back(&loop);
    arm();
    loop.exec();
    loops_.erase(std::remove(loops_.begin(), loops_.end(), &loop), loops_.end());
    if (peerOf(mainForm) == p) p->setModalLoop(nullptr);
}

void Backend::flushPaint(ui::Form&) {
    Block block(*this);
    for (FormPeer* p : peers_) p->syncPending();
    // Shows windows that were just opened and paints what changed; user
    // input waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    for (FormPeer* p : peers_) {
        if (QWidget* w = p->window(); w && w->isVisible()) w->repaint();
    }
}

void Backend::sleep(int ms) {
    Block block(*this);
    QEventLoop loop;
    QTimer timer;
    timer.setSingleShot(true);
    QObject::connect(&timer, &QTimer::timeout, &loop, &QEventLoop::quit);
    timer.start(std::max(0, ms));
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

void Backend::exit() {
    if (exitHandler_) {
        exitHandler_();
        quitLoops();
        return;
    }
    std::fflush(nullptr);
    std::_Exit(0);
}

// ---- dialogs ----------------------------------------------------------------

int Backend::messageBox(const ui::MessageBoxRequest& request) {
    Block block(*this);
    QMessageBox box(dialogParent());
    box.setWindowFlags(kBoxFlags | Qt::MSWindowsFixedSizeDialogHint);
    box.setWindowTitle(toQString(request.title));
    box.setTextFormat(Qt::PlainText);
    box.setText(toQString(request.text));
    box.setIcon(request.icon == ui::kCritical      ? QMessageBox::Critical
                : request.icon == ui::kInformation ? QMessageBox::Information
                                                   : QMessageBox::NoIcon);
    if (request.buttons == ui::kYesNo) {
        QPushButton* yes = box.addButton(QMessageBox::Yes);
        QPushButton* no = box.addButton(QMessageBox::No);
        box.setDefaultButton(request.defaultNo ? no : yes);
        box.setEscapeButton(no);
        fitTitle(box);
        box.exec();
        return box.clickedButton() == yes ? ui::kYes : ui::kNo;
    }
    QPushButton* ok = box.addButton(QMessageBox::Ok);
    box.setDefaultButton(ok);
    box.setEscapeButton(ok);
    fitTitle(box);
    box.exec();
    return ui::kOk;
}

std::optional<std::string> Backend::inputBox(const ui::InputBoxRequest& request) {
    Block block(*this);
    QInputDialog dialog(dialogParent(), kBoxFlags);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setWindowTitle(toQString(request.title));
    dialog.setLabelText(toQString(request.prompt));
    dialog.setTextValue(toQString(request.defaultText));
    // The dialog's layout, made as it opens, sets its size: the prompt's line
    // carries the width.
    if (auto* prompt = dialog.findChild<QLabel*>()) {
        const QStyle* style = dialog.style();
        prompt->setMinimumWidth(titleWidth(dialog) - style->pixelMetric(QStyle::PM_LayoutLeftMargin) -
                                style->pixelMetric(QStyle::PM_LayoutRightMargin));
    }
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return fromQString(dialog.textValue());
}

std::optional<ui::FileDialogChoice> Backend::fileDialog(const ui::FileDialogRequest& request) {
    Block block(*this);
    const bool save = request.kind == ui::FileDialogKind::Save;
    QString title = toQString(request.title);
    if (title.isEmpty()) title = save ? QStringLiteral("Save As") : QStringLiteral("Open");

    // The preset name may carry a folder of its own; otherwise the dialog
    // opens in the initial directory.
    QString name = dialogPath(request.fileName);
    QString dir = dialogPath(request.initDir);
    if (qsizetype slash = name.lastIndexOf(QLatin1Char('/')); slash >= 0) {
        QString folder = name.left(slash);
        if (!folder.isEmpty() && QDir(folder).exists()) dir = folder;
        name = name.mid(slash + 1);
    }
    if (dir.isEmpty() || !QDir(dir).exists()) dir = QDir::currentPath();

    QStringList patterns;
    QStringList filters = nameFilters(request.filter, &patterns);
    FileDialog dialog(dialogParent(), title, dir, filters, patterns);
    QFileDialog::Options options = QFileDialog::DontUseNativeDialog | QFileDialog::HideNameFilterDetails;
    // The core asks before replacing a file, under the name it will write.
    if (save) options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    // Open accepts a name that does not exist.
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    if (!filters.isEmpty()) dialog.setNameFilters(filters);
    if (const int index = request.openingFilter(); index >= 0 && index < filters.size())
        dialog.selectNameFilter(filters[index]);
    // The preset name, a pattern included, starts in the file-name box.
    if (!name.isEmpty()) dialog.selectFile(name);
    dialog.fitColumns();
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty() || chosen.front().isEmpty()) return std::nullopt;
    return ui::FileDialogChoice{pathFromQString(QDir::cleanPath(chosen.front())),
                                fromQString(dialog.shownPattern())};
}

// ---- printing ---------------------------------------------------------------

// Chooses the printer and its page set-up; prints nothing. Without a
// printer it says where printouts go instead.
std::optional<ui::PrinterSettings> Backend::printerSetup(const ui::PrinterSettings& current) {
    Block block(*this);
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    QDialog dialog(dialogParent(), kBoxFlags);
    dialog.setWindowTitle(QStringLiteral("Printer Setup"));
    auto* layout = new QVBoxLayout(&dialog);
    auto* row = new QHBoxLayout;
    auto* names = new QComboBox(&dialog);
    names->addItems(printers);
    names->setMinimumWidth(names->fontMetrics().averageCharWidth() * 24);
    QString chosen = toQString(current.name);
    if (chosen.isEmpty()) chosen = QPrinterInfo::defaultPrinterName();
    if (printers.contains(chosen)) names->setCurrentText(chosen);
    auto* label = new QLabel(QStringLiteral("&Printer:"), &dialog);
    label->setBuddy(names);
    auto* pageSetup = new QPushButton(QStringLiteral("P&age Setup..."), &dialog);
    row->addWidget(label);
    row->addWidget(names, 1);
    row->addWidget(pageSetup);
    layout->addLayout(row);
    if (printers.isEmpty()) {
        names->setEnabled(false);
        pageSetup->setEnabled(false);
        auto* note = new QLabel(
            QStringLiteral("No printer is configured.\nEach printout is written as a new PDF file "
                           "(printout-NNN.pdf) in\n") +
                QDir::toNativeSeparators(pathToQString(pdfDirectory().string())),
            &dialog);
        note->setObjectName(QStringLiteral("noPrinterNote"));
        note->setTextFormat(Qt::PlainText);
        layout->addWidget(note);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    ok->setDefault(true);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);
    dialog.setMinimumWidth(titleWidth(dialog));

    // A printer's page set-up starts where the last one chosen for it left
    // off; the one chosen here holds for the printer it was chosen for.
    QPrinter printer(QPrinter::HighResolution);
    auto usePrinter = [&](const QString& name) {
        printer.setPrinterName(name);
        if (pageLayout_ && name == toQString(pageLayoutPrinter_)) printer.setPageLayout(*pageLayout_);
    };
    QString setUpFor;
    QObject::connect(pageSetup, &QPushButton::clicked, &dialog, [&] {
        const QString name = names->currentText();
        if (name != setUpFor) {
            usePrinter(name);
            setUpFor.clear();
        }
        QPageSetupDialog pages(&printer, &dialog);
        if (pages.exec() == QDialog::Accepted) setUpFor = name;
    });
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    // No printer: the PDF files of the application directory.
    const QString name = names->currentText();
    if (name.isEmpty()) return ui::PrinterSettings{};
    if (name == setUpFor) {
        pageLayout_ = std::make_unique<QPageLayout>(printer.pageLayout());
        pageLayoutPrinter_ = fromQString(name);
    } else {
        usePrinter(name);
    }
    return settingsOf(printer, name);
}

ui::PrinterSettings Backend::defaultPrinter() {
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() || info.printerName().isEmpty()) return ui::PrinterSettings{};
    QPrinter printer(info, QPrinter::HighResolution);
    return settingsOf(printer, info.printerName());
}

std::filesystem::path Backend::pdfDirectory() const {
    std::filesystem::path dir = ui::app().appDir();
    if (dir.empty()) dir = io::appDirectory();
    return dir;
}

std::string Backend::nextPdfPath() const {
    const std::filesystem::path dir = pdfDirectory();
    for (int n = 1;; ++n) {
        char name[32];
        std::snprintf(name, sizeof name, "printout-%03d.pdf", n);
        std::filesystem::path candidate = dir / name;
        std::error_code ec;
        if (!std::filesystem::exists(candidate, ec) && !ec) return candidate.string();
        if (n > 99999) rt::raise(rt::kFileAlreadyExists, candidate.string());
    }
}

void Backend::print(const ui::PrintJob& job) {
    if (job.pages.empty()) return;
    QPrinter printer(QPrinter::HighResolution);
    std::string pdf;
    if (job.printer.name.empty()) {
        pdf = nextPdfPath();
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pathToQString(pdf));
        printer.setPageLayout(QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait,
                                          QMarginsF(kPdfMarginMm, kPdfMarginMm, kPdfMarginMm, kPdfMarginMm),
                                          QPageLayout::Millimeter));
    } else {
        printer.setPrinterName(toQString(job.printer.name));
        if (!printer.isValid()) rt::raise(rt::kDeviceIOError, "printer " + job.printer.name);
        if (pageLayout_ && job.printer.name == pageLayoutPrinter_) printer.setPageLayout(*pageLayout_);
    }
    printer.setDocName(toQString(ui::app().title()));

    // A printout that fails half way leaves nothing behind.
    auto fail = [&](const char* what) {
        if (!pdf.empty()) {
            std::error_code ec;
            std::filesystem::remove(pdf, ec);
        }
        rt::raise(rt::kDeviceIOError, what);
    };
    QPainter painter;
    if (!painter.begin(&printer)) fail("cannot start the printout");
    const double unitsPerTwip = printer.resolution() / 1440.0;
    for (std::size_t i = 0; i < job.pages.size(); ++i) {
        if (i > 0 && !printer.newPage()) {
            painter.end();
            fail("cannot start a new page");
        }
        paintDisplayList(painter, job.pages[i], unitsPerTwip);
    }
    if (!painter.end()) fail("cannot finish the printout");
}

}  // namespace qtui
