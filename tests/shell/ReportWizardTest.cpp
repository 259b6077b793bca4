// The report wizard through a real frame: its boxes and texts reach the
// written page as the report writer makes it; Cancel, a cancelled chooser, a
// failed write and a refused replacement leave no file.
#include "WindowTest.h"
#include "reports/HtmlReport.h"
#include "shell/GraphResultsDlg.h"
#include "shell/ReportWizardDlg.h"

namespace veltrane::shell::test {

namespace {

// The section boxes in the order of the report's section flags.
constexpr int kBoxIds[] = {1096, 1252, 1097, 1253, 1092};

// The clock's line and the memory figures change between two writings.
QString masked(const QByteArray& page) {
    return QString::fromUtf8(page)
        .replace(QRegularExpression("Data reported on [^<]*"), "Data reported on #")
        .replace(QRegularExpression("(<font size=\"4\" face=\"Arial\">)\\d+ MByte"), "\\1# MByte");
}

QStringList htmFiles(const FrameBench& bench) {
    return QDir(bench.dir.path()).entryList({"*.htm*"}, QDir::Files, QDir::Name);
}

}  // namespace

class ReportWizardTest : public QObject {
    Q_OBJECT

private slots:
    void pageHasTheTickedSectionsAndTypedTexts() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        frame->sendRequest(engine::WM_RUN_BENCH, engine::SuiteStandard, 255);
        QVERIFY(waitForResults(*frame));
        ReportWizardDlg& wizard = frame->reportWizard();
        QVERIFY(!wizard.isVisible());
        // The graph window's button opens it, every box ticked at first.
        frame->sendRequest(engine::WM_SHOW_GRAPHS, 0);
        frame->graphsWindow().findChild<QPushButton*>("reportButton")->click();
        QVERIFY(wizard.isVisible());
        QCOMPARE(wizard.windowTitle(), "Veltrane Report generation Wizard");
        for (const int id : kBoxIds) {
            QVERIFY2(wizard.box(id)->isChecked(), qPrintable(wizard.box(id)->text()));
        }
        QTest::keyClicks(wizard.testerNameField(), "<b>Ann</b>");
        QTest::keyClicks(wizard.systemNameField(), "bench-box");
        QTest::keyClicks(wizard.commentsField(), "water");
        QTest::keyClick(wizard.commentsField(), Qt::Key_Return);  // a line break, not "Create!"
        QTest::keyClicks(wizard.commentsField(), "cooled");
        QVERIFY(bench.dialogs.choosers.isEmpty() && wizard.isVisible());
        const reports::ReportTester tester{"<b>Ann</b>", "bench-box", "water\ncooled"};

        for (int combination = 0; combination < 32; ++combination) {
            const auto ticked = [combination](int box) { return ((combination >> box) & 1) != 0; };
            frame->sendRequest(engine::WM_SHOW_REPORT_WIZARD);
            for (int box = 0; box < 5; ++box) {
                wizard.box(kBoxIds[box])->setChecked(ticked(box));
            }
            // Cleared, the tester box greys the texts and keeps them.
            QCOMPARE(wizard.commentsField()->isEnabled(), ticked(0));
            QCOMPARE(wizard.testerNameField()->isEnabled(), ticked(0));
            const QString name = QStringLiteral("report%1.htm").arg(combination);
            bench.dialogs.fileNames = {bench.path(name)};
            wizard.createButton()->click();
            QVERIFY(!wizard.isVisible());
            const reports::ReportSections sections{ticked(0), ticked(1), ticked(2), ticked(3),
                                                   ticked(4)};
            const auto expected = reports::htmlReportText(reports::collectReportInputs(
                tester, sections, frame->machineFacts(), frame->currentResult()));
            QCOMPARE(masked(readFile(bench.path(name))),
                     masked(QByteArray::fromStdString(expected)));
        }
        QCOMPARE(bench.dialogs.choosers.size(), 32);
        QCOMPARE(bench.dialogs.messages, QStringList());
    }

    // The chooser asked about "old"; the ".htm" added to it names a file that
    // is replaced only when the user says so. The working folder stays.
    void cancelsFailuresAndRefusalsWriteNothing() {
        FrameBench bench;
        auto frame = bench.startedFrame();
        QVERIFY(frame != nullptr);
        ReportWizardDlg& wizard = frame->reportWizard();
        const QString folderBefore = QDir::currentPath();
        const auto press = [&](QPushButton* button) {
            frame->sendRequest(engine::WM_SHOW_REPORT_WIZARD);
            QVERIFY(wizard.isVisible());
            button->click();
            QVERIFY(!wizard.isVisible());
        };
        bench.dialogs.fileNames = {bench.path("cancelled.htm")};
        press(wizard.cancelButton());
        QVERIFY(bench.dialogs.choosers.isEmpty());
        bench.dialogs.fileNames.clear();
        press(wizard.createButton());  // the chooser cancelled
        QCOMPARE(bench.dialogs.choosers, QStringList{"Save the report: report.htm"});
        QVERIFY(bench.dialogs.messages.isEmpty());
        bench.dialogs.fileNames = {bench.path("missing/report.htm")};
        press(wizard.createButton());
        QCOMPARE(bench.dialogs.messages,
                 QStringList{"Veltrane Error: Errror: Cannot create report file"});
        QVERIFY(bench.dialogs.kinds[0].first == MessageIcon::Error);
        QCOMPARE(htmFiles(bench), QStringList());

        writeFile(bench.path("old.htm"), "kept");
        bench.dialogs.fileNames = {bench.path("old"), bench.path("old")};
        bench.dialogs.messageAnswers = {MessageAnswer::No, MessageAnswer::Yes};
        press(wizard.createButton());
        QCOMPARE(readFile(bench.path("old.htm")), QByteArray("kept"));
        press(wizard.createButton());
        QVERIFY(readFile(bench.path("old.htm")).startsWith("<html>"));
        QCOMPARE(bench.dialogs.messages.size(), 3);
        QVERIFY(bench.dialogs.kinds[1].second == MessageButtons::YesNo);
        QCOMPARE(htmFiles(bench), QStringList{"old.htm"});
        QCOMPARE(QDir::currentPath(), folderBefore);
    }
};

}  // namespace veltrane::shell::test

QTEST_MAIN(veltrane::shell::test::ReportWizardTest)
#include "ReportWizardTest.moc"
