// Renders every window of the frame to PNG files for review:
//   shell_screenshots_app <folder>
// Windows are filled with the texts of a run in progress or finished.
#include <QApplication>
#include <QDir>
#include <QPainter>
#include <QTest>

#include "FrameTestSupport.h"
#include "engine/Messages.h"
#include "shell/AboutDlg.h"
#include "shell/BenchmarkFormPicture.h"
#include "shell/ChooserDlg.h"
#include "shell/FrameConfig.h"
#include "shell/NotesDlg.h"
#include "shell/Pictures.h"
#include "shell/PlaceholderDlg.h"
#include "shell/ProgressDlg.h"
#include "shell/ProjectDocuments.h"
#include "shell/ResultsDlg.h"
#include "shell/SmpProgressDlg.h"
#include "shell/SplashWindow.h"

namespace veltrane::shell::test {

namespace {

const std::vector<engine::InfoRow> kRows{
    {"CPU Vendor", "AuthenticAMD"},       {"CPU Name", "AMD Athlon XP 2100+"},
    {"CPU Frequency", "1733.4 MHz"},      {"L1 Data Cache", "64 KByte"},
    {"L1 Instruction Cache", "64 KByte"}, {"L2 Cache", "256 KByte"},
    {"System RAM (MByte)", "512 MByte"},
};

class Shooter {
public:
    explicit Shooter(QString folder) : folder_(std::move(folder)) {}

    void shoot(QWidget& window, const QString& name) {
        window.show();
        QApplication::processEvents();
        save(window.grab().toImage(), name);
    }
    void save(const QImage& image, const QString& name) {
        const QString path = QDir(folder_).filePath(name + QStringLiteral(".png"));
        ok_ = image.save(path) && ok_;
        qInfo("%s", qPrintable(path));
    }
    bool ok() const { return ok_; }

private:
    QString folder_;
    bool ok_ = true;
};

// ProgressDlg or SmpProgressDlg.
template <typename Window>
void feed(Window& window, std::initializer_list<std::array<int, 3>> messages) {
    for (const auto& [message, wParam, lParam] : messages) {
        window.handleMessage(static_cast<engine::WindowMessage>(message), wParam, lParam);
    }
}

// Test 3 under way: two tests done, six ticks into the third.
void shootProgress(Shooter& shooter, ProgressDlg& window) {
    window.setInfoRows(kRows);
    window.show();
    using namespace engine;
    for (int test = 1; test <= 2; ++test) {
        feed(window, {{WM_THREAD_BEGIN, test, 0}, {WM_THREAD_END, 0, 0}});
    }
    feed(window, {{WM_THREAD_BEGIN, 3, 0}});
    for (int tick = 0; tick < 6; ++tick) {
        feed(window, {{WM_THREAD_TICK, 0, 0}});
    }
    shooter.shoot(window, QStringLiteral("progress"));
    window.hide();
}

// The first thread in its memory test, the second stopped.
void shootSmpProgress(Shooter& shooter, SmpProgressDlg& window) {
    std::vector<engine::InfoRow> rows = kRows;
    rows[1].description = "2xAMD Athlon MP 2000+";
    window.setInfoRows(rows);
    window.show();
    using namespace engine;
    for (int test = 1; test <= 5; ++test) {
        feed(window, {{WM_THREAD_BEGIN, test, 0},
                      {WM_THREAD_BEGIN, test, 1},
                      {WM_THREAD_END, 1, 0},
                      {WM_THREAD_END, 2, 0}});
    }
    feed(window, {{WM_THREAD_BEGIN, 6, 0},
                  {WM_THREAD_TICK, 1, 0},
                  {WM_THREAD_TICK, 1, 0},
                  {WM_THREAD_TICK, 1, 0}});
    shooter.shoot(window, QStringLiteral("smp_progress"));
    window.hide();
}

void shootIcons(Shooter& shooter) {
    constexpr int kSide = 48;
    QImage sheet(12 * (kSide + 8) + 8, 2 * (kSide + 8) + 8, QImage::Format_ARGB32);
    sheet.fill(Qt::white);
    QPainter painter(&sheet);
    for (int n = 1; n <= 12; ++n) {
        const int x = 8 + (n - 1) * (kSide + 8);
        painter.drawPixmap(x, 8, picture(QStringLiteral("Icon%1Gray").arg(n), {kSide, kSide}));
        painter.drawPixmap(x, 16 + kSide,
                           picture(QStringLiteral("Icon%1Hot").arg(n), {kSide, kSide}));
    }
    painter.end();
    shooter.save(sheet, QStringLiteral("toolbar_icons"));
    shooter.save(picture(QStringLiteral("FirstIcon"), {64, 64}).toImage(),
                 QStringLiteral("first_icon"));
}

void shootFrame(Shooter& shooter, CMainFrame& frame) {
    frame.resize(1280, 800);
    shooter.shoot(frame, QStringLiteral("main_frame"));
    frame.documents().newDocument();
    QTest::qWait(100);
    shooter.shoot(frame, QStringLiteral("main_frame_with_document"));
    frame.documents().closeActiveDocument();
    QTest::qWait(50);
}

void shootWindows(Shooter& shooter, CMainFrame& frame) {
    SplashWindow splash(nullptr);
    shooter.shoot(splash, QStringLiteral("splash"));
    shooter.shoot(frame.chooser(), QStringLiteral("chooser"));
    frame.chooser().hide();
    NotesDlg notes(nullptr);
    shooter.shoot(notes, QStringLiteral("important_notes"));
    AboutDlg about(nullptr, QLatin1String(kVersionText));
    shooter.shoot(about, QStringLiteral("about"));
    shootProgress(shooter, frame.progressWindow());
    shootSmpProgress(shooter, frame.smpProgressWindow());
    frame.resultsWindow().setScoreText(QStringLiteral("4321 "));
    frame.resultsWindow().setTimeText(QStringLiteral("83.46 seconds"));
    shooter.shoot(frame.resultsWindow(), QStringLiteral("results"));
    for (PlaceholderDlg* window : frame.findChildren<PlaceholderDlg*>()) {
        shooter.shoot(*window, window->objectName());
        window->hide();
    }
}

}  // namespace

int shootAll(const QString& folder) {
    if (!QDir().mkpath(folder)) {
        qCritical("cannot create %s", qPrintable(folder));
        return 1;
    }
    FrameBench bench;
    auto frame = bench.startedFrame();
    if (frame == nullptr) {
        qCritical("the frame did not start");
        return 1;
    }
    frame->setVersionText(QLatin1String(kVersionText));
    Shooter shooter(folder);
    shootFrame(shooter, *frame);
    shootWindows(shooter, *frame);
    shootIcons(shooter);
    const bool formWritten =
        writeBenchmarkFormPng(QDir(folder).filePath(QStringLiteral("benchmark_form.png")), *frame);
    return shooter.ok() && formWritten ? 0 : 1;
}

}  // namespace veltrane::shell::test

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString folder =
        argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    return veltrane::shell::test::shootAll(folder);
}
