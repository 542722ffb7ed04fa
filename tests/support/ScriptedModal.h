#pragma once
// The test double of the modal seam: records every message and dialog set-up,
// answers from scripts, and never blocks.

#include <QString>
#include <deque>
#include <functional>
#include <optional>
#include <vector>

#include "platform/Modal.h"

class ScriptedModal final : public TModalSeam {
public:
    std::vector<QString> Messages;
    std::vector<TFileDialog> SaveDialogs, OpenDialogs;  // as they were set up when shown
    std::vector<TPrintDialog> PrintDialogs;
    std::vector<QString> ModalDialogs;  // object names of dialogs shown modally

    // Answers, consumed in order; an empty optional (or an empty queue) cancels.
    std::deque<std::optional<QString>> SaveAnswers, OpenAnswers;
    // Print answers: true confirms; the hook may set up the printer (e.g. a PDF file).
    std::deque<bool> PrintAnswers;
    std::function<void(QPrinter&)> OnPrint;
    // Runs while a dialog is "shown modally", e.g. to type into it.
    std::function<void(QDialog&)> OnShowModal;

    void ShowMessage(QWidget* owner, const QString& text) override;
    bool ExecuteSave(QWidget* owner, TFileDialog& dialog) override;
    bool ExecuteOpen(QWidget* owner, TFileDialog& dialog) override;
    bool ExecutePrint(QWidget* owner, TPrintDialog& dialog, QPrinter& printer) override;
    void ShowModal(QDialog& dialog) override;
};

// Installs a fresh double and returns it; it stays installed until replaced.
ScriptedModal& InstallScriptedModal();
ScriptedModal& Script();
