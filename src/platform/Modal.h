#pragma once
// The one seam through which every modal interaction goes: the error message
// box, the save and open file names, the print dialog and the modal showing
// of a dialog. Production shows Qt dialogs; tests install a scripted double
// so that nothing ever blocks.

#include <QString>
#include <memory>

class QDialog;
class QPrinter;
class QWidget;

// What a file dialog is set up with, and the name it returns.
struct TFileDialog {
    QString Title;
    QString Filter;      // "CSV-Files |*.csv": description, "|", pattern
    QString DefaultExt;  // appended (with a dot) to a name typed without extension
    QString FileName;    // the chosen name after a confirmed Execute
};

struct TPrintDialog {
    int MinPage = 0;
    int MaxPage = 0;
};

class TModalSeam {
public:
    virtual ~TModalSeam() = default;
    // Caption "Error", the text, only an OK button, no icon.
    virtual void ShowMessage(QWidget* owner, const QString& text) = 0;
    // True when the operator confirmed; the name is then in dialog.FileName.
    virtual bool ExecuteSave(QWidget* owner, TFileDialog& dialog) = 0;
    virtual bool ExecuteOpen(QWidget* owner, TFileDialog& dialog) = 0;
    // True when the operator confirmed; the printer is then set up for the job.
    virtual bool ExecutePrint(QWidget* owner, TPrintDialog& dialog, QPrinter& printer) = 0;
    // Shows the dialog modally and returns when it is closed.
    virtual void ShowModal(QDialog& dialog) = 0;
};

TModalSeam& Modal();
// Installs a new seam and hands back the one it replaces.
std::unique_ptr<TModalSeam> InstallModal(std::unique_ptr<TModalSeam> seam);

// Shortcut for the error message box of the program.
void ShowErrorMessage(const QString& text);
