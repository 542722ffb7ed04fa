#include "app/TForm1.h"
#include "platform/Fonts.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include "platform/ToolbarImages.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "link/TForm6.h"
#include "platform/Wait.h"

TForm1* Form1 = nullptr;

TForm1::TForm1(std::shared_ptr<const TPortMap> portMap)
{
    // Until the constructor returns, discovery code reaches the window as Form1.
    Form1 = this;
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("-.-"));
    setFont(FormFont(11));
    resize(1022, 572);
    if (const QScreen* screen = QApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    MdiArea = new QMdiArea(this);
    MdiArea->setObjectName(QStringLiteral("ClientArea"));
    MdiArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    MdiArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(MdiArea);

    ImageList1 = MakeToolbarImages();
    CreateMenus();
    CreateToolBar();
    CreateActionList();
    CreateStatusBar();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(2000);
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer);

    CommPort = std::make_unique<TCommPort>(std::move(portMap));
    setWindowTitle(QStringLiteral("Quadrelix v1.7"));
    CurrentAngle = QStringLiteral("-.-");
    PortDiscovery();
}

TForm1::~TForm1()
{
    CurrentAngle.clear();
    try {
        CommPort.reset();
    } catch (...) {
        // A port that will not close cannot be helped at the end.
    }
    SelectedPort.clear();
    if (Form1 == this)
        Form1 = nullptr;
}

void TForm1::CreateMenus()
{
    auto item = [this](QMenu* menu, const char* name, const char* caption, void (TForm1::*handler)()) {
        QAction* a = menu->addAction(QString::fromLatin1(caption));
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    auto menu = [this](const char* name, const char* caption) {
        QMenu* m = menuBar()->addMenu(QString::fromLatin1(caption));
        m->setObjectName(QString::fromLatin1(name));
        return m;
    };
    menuBar()->setObjectName(QStringLiteral("MainMenu1"));

    Datei1 = menu("Datei1", "File");
    Speichern1 = item(Datei1, "Speichern1", "Save File", &TForm1::acDateiSpeichernExecute);
    Laden1 = item(Datei1, "Laden1", "Load File", &TForm1::acDateiOeffnenExecute);
    Print1 = item(Datei1, "Print1", "Print", &TForm1::ToolButton8Click);

    Port1 = menu("Port1", "Port");
    for (int n = 1; n <= 16; ++n) {
        QAction* a = Port1->addAction(QStringLiteral("Com%1").arg(n));
        a->setObjectName(QStringLiteral("Com") + QString::number(n) + QStringLiteral("1"));
        a->setCheckable(true);
        connect(a, &QAction::triggered, this, [this, n] { ComClick(n); });
        ComItems[std::size_t(n - 1)] = a;
    }

    Daten1 = menu("Daten1", "Data");
    Upload1 = item(Daten1, "Upload1", "Upload", &TForm1::acDatenUploadExecute);

    Fenster1 = menu("Fenster1", "Window");
    Status1 = item(Fenster1, "Status1", "State", &TForm1::acFensterStatusExecute);
    Bremswinkel1 = item(Fenster1, "Bremswinkel1", "Brake Angle", &TForm1::acFensterBremswinkelExecute);
    Measurement1 = item(Fenster1, "Measurement1", "Measurement", &TForm1::acFensterMesswertExecute);
}

void TForm1::CreateToolBar()
{
    ToolBar1 = addToolBar(QStringLiteral("ToolBar1"));
    ToolBar1->setObjectName(QStringLiteral("ToolBar1"));
    ToolBar1->setMovable(false);
    ToolBar1->setFloatable(false);
    ToolBar1->setIconSize(QSize(16, 16));
    ToolBar1->setFixedHeight(25);
    ToolBar1->setToolButtonStyle(Qt::ToolButtonIconOnly);
    ToolBar1->setStyleSheet(QStringLiteral("QToolBar::separator { width: 8px; }"));

    auto button = [this](const char* name, int image, const char* accessibleName, void (TForm1::*handler)()) {
        // No text on the action, so no tool tip either; the name is for screen readers.
        QAction* a = ToolBar1->addAction(ImageList1[std::size_t(image)], QString());
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        if (QWidget* w = ToolBar1->widgetForAction(a)) {
            w->setObjectName(QString::fromLatin1(name));
            w->setAccessibleName(QString::fromLatin1(accessibleName));
        }
    };
    auto separator = [this](const char* name) { ToolBar1->addSeparator()->setObjectName(QString::fromLatin1(name)); };

    button("ToolButton1", 0, "Load File", &TForm1::acDateiOeffnenExecute);
    button("ToolButton2", 1, "Save File", &TForm1::acDateiSpeichernExecute);
    separator("ToolButton3");
    button("ToolButton4", 2, "Upload", &TForm1::acDatenUploadExecute);
    separator("ToolButton5");
    button("ToolButton6", 3, "State", &TForm1::acFensterStatusExecute);
    button("ToolButton7", 4, "Brake Angle", &TForm1::acFensterBremswinkelExecute);
    button("ToolButton9", 6, "Measurement", &TForm1::acFensterMesswertExecute);
    separator("ToolButton10");
    button("ToolButton8", 7, "Print", &TForm1::ToolButton8Click);
}

void TForm1::CreateActionList()
{
    // The handlers grouped by category; nothing is linked to these actions and
    // they have no shortcuts, so they never run by themselves.
    struct Entry {
        const char* name;
        const char* category;
        const char* caption;
        const char* hint;
        void (TForm1::*handler)();
    };
    const Entry entries[] = {
        {"acDateiOeffnen", "Datei", "&Öffnen", "Datei öffnen", &TForm1::acDateiOeffnenExecute},
        {"acDateiSpeichern", "Datei", "&Speichern", "Datei speichern", &TForm1::acDateiSpeichernExecute},
        {"acDatenUpload", "Daten", "&Upload", "Daten aus dem Gerät laden", &TForm1::acDatenUploadExecute},
        {"acFensterStatus", "Fenster", "&Status", "", &TForm1::acFensterStatusExecute},
        {"acFensterBremswinkel", "Fenster", "&Bremswinkel", "", &TForm1::acFensterBremswinkelExecute},
        {"acFensterMesswert", "Fenster", "Messwert", "", &TForm1::acFensterMesswertExecute},
    };
    for (const Entry& e : entries) {
        auto* a = new QAction(QString::fromUtf8(e.caption), this);
        a->setObjectName(QString::fromLatin1(e.name));
        a->setProperty("category", QString::fromLatin1(e.category));
        a->setStatusTip(QString::fromUtf8(e.hint));
        a->setToolTip(QString::fromUtf8(e.hint));
        connect(a, &QAction::triggered, this, e.handler);
        acCycleTimes.push_back(a);
    }
}

void TForm1::CreateStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("StatusBar1"));
    statusBar()->setFixedHeight(22);
    statusBar()->setSizeGripEnabled(true);
    for (std::size_t i = 0; i < panels_.size(); ++i) {
        auto* panel = new QLabel(statusBar());
        panel->setObjectName(QStringLiteral("StatusPanel%1").arg(i));
        panel->setFixedWidth(50);
        panel->setFrameShape(QFrame::Panel);
        panel->setFrameShadow(QFrame::Sunken);
        statusBar()->addWidget(panel);
        panels_[i] = panel;
    }
}

QString TForm1::StatusPanelText(int panel) const { return panels_.at(std::size_t(panel))->text(); }

void TForm1::SetStatusPanelText(int panel, const QString& text) { panels_.at(std::size_t(panel))->setText(text); }

void TForm1::acFensterStatusExecute() { Form2->BringBack(); }

void TForm1::acFensterBremswinkelExecute() { Form3->BringBack(); }

void TForm1::acFensterMesswertExecute() { Form6->BringBack(); }

void TForm1::closeEvent(QCloseEvent* event)
{
    // The exchange in progress owns the port; the window closes once it has ended.
    if (IsLineBusy()) {
        event->ignore();
        return;
    }
    QMainWindow::closeEvent(event);
}
