#include "shell/NotesDlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QVBoxLayout>

namespace veltrane::shell {

namespace {

constexpr const char* kNotes =
    "<p><b>Before you run a benchmark</b></p>"
    "<ul>"
    "<li>Close other programs and leave mouse and keyboard alone while a benchmark runs: "
    "whatever else the machine does is measured too.</li>"
    "<li>A run cannot be cancelled; the full benchmark takes some 15 to 25 seconds on a "
    "current processor, longer on an older one.</li>"
    "<li>The benchmark threads ask for time-critical priority (nice -20). Without the "
    "permission to raise their priority they run at normal priority; after the first run the "
    "status bar says which one they got.</li>"
    "<li>The two RAM tests use arrays of 8,000,000 bytes. On a processor with a large "
    "level-3 cache they measure the cache's bandwidth rather than the memory's.</li>"
    "<li>The SMP benchmark needs at least two processors.</li>"
    "<li>Your result is compared with the reference results in database1.dat to "
    "database5.dat beside the program; the help page tells how to add your own.</li>"
    "</ul>";

}  // namespace

NotesDlg::NotesDlg(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("NotesDlg"));
    setWindowTitle(QStringLiteral("Important notes"));
    auto* text = new QLabel(QString::fromUtf8(kNotes), this);
    text->setWordWrap(true);
    text->setTextFormat(Qt::RichText);
    text->setMinimumWidth(460);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(text);
    layout->addWidget(buttons);
}

}  // namespace veltrane::shell
