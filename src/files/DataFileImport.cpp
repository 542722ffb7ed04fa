#include "app/TForm1.h"
#include "files/DataFileIo.h"
#include "files/DataFileReader.h"
#include "files/DataFileText.h"
#include "platform/Modal.h"

void TForm1::acDateiOeffnenExecute()
{
    OpenDialog1.Title = QStringLiteral("Load settings from file...");
    OpenDialog1.Filter = QStringLiteral("CSV-Files |*.csv");
    OpenDialog1.DefaultExt.clear();
    if (!Modal().ExecuteOpen(this, OpenDialog1))
        return;

    QByteArray bytes;
    const TReadOutcome outcome = ReadWholeFile(OpenDialog1.FileName, bytes);
    if (outcome == TReadOutcome::CannotOpen) {
        Modal().ShowMessage(this, QStringLiteral("Cannot open this file!"));
        return;
    }

    // Everything is read and checked before the first control changes.
    TDataFileReader reader;
    bool readable = outcome == TReadOutcome::Ok;
    if (readable) {
        try {
            reader.Read(DecodeDataFileText(bytes));
        } catch (const EDataFileRead&) {
            readable = false;
        }
    }
    if (!readable) {
        Modal().ShowMessage(this, QStringLiteral("Error while reading this file!"));
        return;
    }
    reader.Apply();
}
