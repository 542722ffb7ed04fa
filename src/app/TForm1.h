#pragma once
// The main window: an MDI frame with menus, toolbar, action list, status bar,
// the file and print dialog roles and the upload timer. It owns the one
// serial port, the working copy of the line settings, the selected port name
// and the current angle text.

#include <QMainWindow>
#include <QString>
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "link/TCommPort.h"
#include "platform/Modal.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class QTimer;
class QToolBar;

class TForm1 : public QMainWindow {
    Q_OBJECT
public:
    // The port map decides which device each of COM1 ... COM16 is; the port
    // discovery runs before the constructor returns.
    explicit TForm1(std::shared_ptr<const TPortMap> portMap);
    ~TForm1() override;

    // Data shared with the other windows.
    TDcb Dcb;                            // working copy of the line settings
    std::string SelectedPort;            // "COM1" ... "COM16", empty when none
    std::unique_ptr<TCommPort> CommPort;
    QString CurrentAngle;                // "-.-" until measured or loaded

    // Components.
    QMdiArea* MdiArea = nullptr;
    QMenu* Datei1 = nullptr;
    QMenu* Port1 = nullptr;
    QMenu* Daten1 = nullptr;
    QMenu* Fenster1 = nullptr;
    QAction* Speichern1 = nullptr;
    QAction* Laden1 = nullptr;
    QAction* Print1 = nullptr;
    QAction* Upload1 = nullptr;
    QAction* Status1 = nullptr;
    QAction* Bremswinkel1 = nullptr;
    QAction* Measurement1 = nullptr;
    std::array<QAction*, 16> ComItems{};  // Com11 ... Com161, item n at index n - 1
    QToolBar* ToolBar1 = nullptr;
    std::vector<QIcon> ImageList1;
    std::vector<QAction*> acCycleTimes;   // the inert action list
    QTimer* Timer1 = nullptr;
    TFileDialog SaveDialog1;
    TFileDialog OpenDialog1;
    TPrintDialog PrintDialog1;

    QString StatusPanelText(int panel) const;
    void SetStatusPanelText(int panel, const QString& text);

    // Handlers of the menu, the toolbar and the timer.
    void acDateiSpeichernExecute();
    void acDateiOeffnenExecute();
    void ToolButton8Click();
    void acDatenUploadExecute();
    void acFensterStatusExecute();
    void acFensterBremswinkelExecute();
    void acFensterMesswertExecute();
    void Timer1Timer();
    void Com11Click() { ComClick(1); }
    void Com21Click() { ComClick(2); }
    void Com31Click() { ComClick(3); }
    void Com41Click() { ComClick(4); }
    void Com51Click() { ComClick(5); }
    void Com61Click() { ComClick(6); }
    void Com71Click() { ComClick(7); }
    void Com81Click() { ComClick(8); }
    void Com91Click() { ComClick(9); }
    void Com101Click() { ComClick(10); }
    void Com111Click() { ComClick(11); }
    void Com121Click() { ComClick(12); }
    void Com131Click() { ComClick(13); }
    void Com141Click() { ComClick(14); }
    void Com151Click() { ComClick(15); }
    void Com161Click() { ComClick(16); }

    // The handler of Port item n (1 ... 16).
    void ComClick(int n);
    // Finds the ports, offers them in the Port menu and selects one.
    void PortDiscovery();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateMenus();
    void CreateToolBar();
    void CreateActionList();
    void CreateStatusBar();
    std::array<QLabel*, 2> panels_{};
};

extern TForm1* Form1;
