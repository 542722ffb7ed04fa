// Port discovery at start-up and the Port menu.

#include <QAction>
#include <QString>

#include "app/TForm1.h"
#include "link/Exchange.h"
#include "platform/Modal.h"
#include "platform/Wait.h"

namespace {

std::string PortName(int n) { return "COM" + std::to_string(n); }

void UnmarkAll(TForm1& form)
{
    for (QAction* item : form.ComItems)
        item->setChecked(false);
}

}  // namespace

void TForm1::PortDiscovery()
{
    UnmarkAll(*this);
    for (QAction* item : ComItems)
        item->setVisible(false);

    std::vector<std::string> available;
    for (int n = 1; n <= 16; ++n) {
        if (PortAvailable(CommPort->PortMap(), PortName(n))) {
            available.push_back(PortName(n));
            ComItems[std::size_t(n - 1)]->setVisible(true);
        }
    }

    if (available.empty()) {
        Modal().ShowMessage(this, QStringLiteral("Your PC seems to have no available/free serial COM-Port!"));
        return;
    }

    CommPort->SetBaudRate(9600);
    CommPort->SetParity(TDcb::EVENPARITY);
    CommPort->SetByteSize(8);
    CommPort->SetStopBits(TDcb::ONESTOPBIT);

    bool found = false;
    for (const std::string& name : available) {
        SelectedPort = name;
        if (!OpenSelectedPort(*this))
            continue;
        try {
            Sleep(100);
            if (!CheckConnection(*this))
                continue;
            SetStatusPanelText(0, QString::fromStdString(SelectedPort));
            found = true;
            break;
        } catch (const std::exception&) {
            // A port that misbehaves is skipped like one without the unit.
            continue;
        }
    }
    try {
        CommPort->ClosePort();
    } catch (const ECommError&) {
    }

    if (!found)
        SelectedPort = available.front();
    for (int n = 1; n <= 16; ++n) {
        if (SelectedPort == PortName(n)) {
            UnmarkAll(*this);
            ComItems[std::size_t(n - 1)]->setChecked(true);
        }
    }
}

void TForm1::ComClick(int n)
{
    SelectedPort = PortName(n);
    SetStatusPanelText(0, QString::fromStdString(SelectedPort));
    UnmarkAll(*this);
    ComItems[std::size_t(n - 1)]->setChecked(true);
}
