#include "support/ScriptedModal.h"

#include <QDialog>

namespace {
ScriptedModal* current = nullptr;

std::optional<QString> Take(std::deque<std::optional<QString>>& answers)
{
    if (answers.empty())
        return std::nullopt;
    auto answer = answers.front();
    answers.pop_front();
    return answer;
}
}  // namespace

void ScriptedModal::ShowMessage(QWidget*, const QString& text) { Messages.push_back(text); }

bool ScriptedModal::ExecuteSave(QWidget*, TFileDialog& dialog)
{
    SaveDialogs.push_back(dialog);
    const auto answer = Take(SaveAnswers);
    if (!answer)
        return false;
    dialog.FileName = *answer;
    return true;
}

bool ScriptedModal::ExecuteOpen(QWidget*, TFileDialog& dialog)
{
    OpenDialogs.push_back(dialog);
    const auto answer = Take(OpenAnswers);
    if (!answer)
        return false;
    dialog.FileName = *answer;
    return true;
}

bool ScriptedModal::ExecutePrint(QWidget*, TPrintDialog& dialog, QPrinter& printer)
{
    PrintDialogs.push_back(dialog);
    if (PrintAnswers.empty())
        return false;
    const bool confirmed = PrintAnswers.front();
    PrintAnswers.pop_front();
    if (confirmed && OnPrint)
        OnPrint(printer);
    return confirmed;
}

void ScriptedModal::ShowModal(QDialog& dialog)
{
    ModalDialogs.push_back(dialog.objectName());
    dialog.show();
    if (OnShowModal)
        OnShowModal(dialog);
    dialog.hide();
}

ScriptedModal& InstallScriptedModal()
{
    auto seam = std::make_unique<ScriptedModal>();
    current = seam.get();
    InstallModal(std::move(seam));
    return *current;
}

ScriptedModal& Script() { return *current; }
