#include "app/Startup.h"

#include <exception>

#include "app/TForm1.h"
#include "data/TForm2.h"
#include "data/TForm3.h"
#include "files/TForm5.h"
#include "link/PortMap.h"
#include "link/TForm4.h"
#include "link/TForm6.h"
#include "platform/Application.h"
#include "platform/Modal.h"
#include "platform/ToolbarImages.h"

void CreateForms(std::shared_ptr<const TPortMap> portMap)
{
    Form1 = new TForm1(std::move(portMap));
    Form1->showMaximized();
    Form2 = new TForm2(Form1->MdiArea);
    Form3 = new TForm3(Form1->MdiArea);
    Form4 = new TForm4(Form1);
    Form6 = new TForm6(Form1->MdiArea);
    Form5 = new TForm5(Form1);
}

void DestroyForms()
{
    delete Form5;
    Form5 = nullptr;
    delete Form6;
    Form6 = nullptr;
    delete Form4;
    Form4 = nullptr;
    delete Form3;
    Form3 = nullptr;
    delete Form2;
    Form2 = nullptr;
    delete Form1;
    Form1 = nullptr;
}

int RunQuadrelix(int argc, char** argv)
{
    TApplication app(argc, argv);
    TApplication::setApplicationName(QStringLiteral("Quadrelix"));
    TApplication::setApplicationDisplayName(QStringLiteral("Quadrelix"));
    TApplication::setWindowIcon(MakeToolbarImages()[2]);
    int result = 1;
    try {
        CreateForms(std::make_shared<TPortMap>());
        result = app.exec();
    } catch (const std::exception& e) {
        // Only an error that escapes start-up ends the program, after showing it.
        ShowEscapedError(e.what());
    } catch (...) {
        ShowEscapedError(nullptr);
    }
    DestroyForms();
    return result;
}
