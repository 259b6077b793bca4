#pragma once

#include <QTabWidget>
#include <QWidget>

#include "ident/MachineFacts.h"

class QLabel;

namespace veltrane::shell {

// The pages of "Advanced informations", each showing the core's rows for
// one machine record. Every value label is named after its label, so a
// field is found again by what it is.

// "Extended  CPU informations": identity, definition names, caches, the
// clock (read again whenever the page is shown) and the feature list.
class AdvCPUInfoDlg final : public QWidget {
    Q_OBJECT
public:
    AdvCPUInfoDlg(const ident::MachineFacts& machine, QWidget* parent = nullptr);

    // Writes the rows again, so a clock measured since shows.
    void refresh();

protected:
    void showEvent(QShowEvent* event) override;

private:
    const ident::MachineFacts& machine_;
    QWidget* fields_ = nullptr;
};

// "Cache and TLB informations": eight groups of four fields.
class CCacheInfoPage final : public QWidget {
    Q_OBJECT
public:
    CCacheInfoPage(const ident::MachineFacts& machine, QWidget* parent = nullptr);
};

// "Motherboard, chipset and BIOS informations": the chipset and the other PCI devices.
class CMBInfoPage final : public QWidget {
    Q_OBJECT
public:
    CMBInfoPage(const ident::MachineFacts& machine, QWidget* parent = nullptr);
};

// "OS informations": the system's and the memory's texts and three gauges.
class COSInfoPage final : public QWidget {
    Q_OBJECT
public:
    COSInfoPage(const ident::MachineFacts& machine, QWidget* parent = nullptr);
};

// The five pages in their order, "Processor today" last.
class CAdvInfoPropSheet final : public QTabWidget {
    Q_OBJECT
public:
    CAdvInfoPropSheet(const ident::MachineFacts& machine, QWidget* parent = nullptr);
};

}  // namespace veltrane::shell
