#pragma once

#include <QDialog>

namespace veltrane::shell {

// "Important notes", shown once after the program is installed.
class NotesDlg final : public QDialog {
    Q_OBJECT

public:
    explicit NotesDlg(QWidget* parent);
};

}  // namespace veltrane::shell
