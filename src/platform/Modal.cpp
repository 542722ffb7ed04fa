#include "platform/Modal.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>

namespace {

QString QtFilter(const QString& filter)
{
    // "CSV-Files |*.csv" -> "CSV-Files (*.csv)"
    const int bar = filter.indexOf(QLatin1Char('|'));
    if (bar < 0)
        return filter;
    return filter.left(bar).trimmed() + QStringLiteral(" (") + filter.mid(bar + 1) + QStringLiteral(")");
}

class TQtModal final : public TModalSeam {
public:
    void ShowMessage(QWidget* owner, const QString& text) override
    {
        QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Error"), text, QMessageBox::Ok,
                        owner ? owner : QApplication::activeWindow());
        box.exec();
    }

    bool ExecuteSave(QWidget* owner, TFileDialog& dialog) override
    {
        QFileDialog fd(owner, dialog.Title, QString(), QtFilter(dialog.Filter));
        fd.setAcceptMode(QFileDialog::AcceptSave);
        fd.setFileMode(QFileDialog::AnyFile);
        // Replacing an existing file is not asked about.
        fd.setOption(QFileDialog::DontConfirmOverwrite, true);
        if (!dialog.DefaultExt.isEmpty())
            fd.setDefaultSuffix(dialog.DefaultExt);
        if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
            return false;
        dialog.FileName = fd.selectedFiles().front();
        return true;
    }

    bool ExecuteOpen(QWidget* owner, TFileDialog& dialog) override
    {
        QFileDialog fd(owner, dialog.Title, QString(), QtFilter(dialog.Filter));
        fd.setAcceptMode(QFileDialog::AcceptOpen);
        fd.setFileMode(QFileDialog::AnyFile);
        if (fd.exec() != QDialog::Accepted || fd.selectedFiles().isEmpty())
            return false;
        dialog.FileName = fd.selectedFiles().front();
        return true;
    }

    bool ExecutePrint(QWidget* owner, TPrintDialog& dialog, QPrinter& printer) override
    {
        QPrintDialog pd(&printer, owner);
        pd.setMinMax(dialog.MinPage, dialog.MaxPage);
        pd.setOption(QAbstractPrintDialog::PrintPageRange, false);
        pd.setOption(QAbstractPrintDialog::PrintSelection, false);
        pd.setOption(QAbstractPrintDialog::PrintCurrentPage, false);
        return pd.exec() == QDialog::Accepted;
    }

    void ShowModal(QDialog& dialog) override { dialog.exec(); }
};

std::unique_ptr<TModalSeam>& Current()
{
    static std::unique_ptr<TModalSeam> seam = std::make_unique<TQtModal>();
    return seam;
}

}  // namespace

TModalSeam& Modal() { return *Current(); }

std::unique_ptr<TModalSeam> InstallModal(std::unique_ptr<TModalSeam> seam)
{
    std::unique_ptr<TModalSeam> previous = std::move(Current());
    Current() = std::move(seam);
    return previous;
}

void ShowErrorMessage(const QString& text) { Modal().ShowMessage(QApplication::activeWindow(), text); }
