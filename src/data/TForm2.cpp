#include "data/TForm2.h"
#include "platform/Fonts.h"

#include <QLabel>

#include "platform/ToolbarImages.h"
#include <QWidget>

TForm2* Form2 = nullptr;

QLabel* TForm2::AddLabel(const QString& text, int left, int top, int pixelHeight)
{
    auto* label = new QLabel(text, this);
    if (pixelHeight > 0) {
        label->setFont(FormFont(pixelHeight));
    }
    label->move(left, top);
    label->adjustSize();
    return label;
}

TEdit* TForm2::AddEdit(const char* name, const char* caption, int top, int width, const char* unit, const char* initial)
{
    QLabel* label = AddLabel(QString::fromLatin1(caption), 24, top + 3);
    auto* edit = new TEdit(this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setGeometry(224, top, width, 21);
    edit->SetText(QString::fromLatin1(initial));
    edit->setAccessibleName(QString::fromLatin1(caption));
    label->setBuddy(edit);
    if (unit)
        AddLabel(QString::fromLatin1(unit), 288, top + 4);
    return edit;
}

TShape* TForm2::AddLamp(const char* name, const char* caption, int captionLeft, int lampLeft, int top)
{
    AddLabel(QString::fromLatin1(caption), captionLeft, top + 1);
    auto* lamp = new TShape(this);
    lamp->setObjectName(QString::fromLatin1(name));
    lamp->setGeometry(lampLeft, top, 25, 17);
    lamp->setAccessibleName(QString::fromLatin1(caption));
    return lamp;
}

TForm2::TForm2(QMdiArea* area) : TChildForm(area, QStringLiteral("State"), 1036, 616)
{
    setObjectName(QStringLiteral("Form2"));
    setFont(FormFont(11));

    AddLabel(QStringLiteral("Parameters"), 24, 24, 19);
    AddLabel(QStringLiteral("Error State"), 384, 24, 19);
    AddLabel(QStringLiteral("Inputs"), 648, 24, 19);
    AddLabel(QStringLiteral("Outputs"), 848, 24, 19);

    edtFunction = AddEdit("edtFunction", "Function", 72, 137, nullptr, "-.-");
    edtState = AddEdit("edtState", "Current State", 112, 137, nullptr, "-.-");
    edtLockAngle = AddEdit("edtLockAngle", "Lock Angle", 152, 57, "degree", "0");
    edtTmeCycle = AddEdit("edtTmeCycle", "Cycle Time", 192, 57, "sec", "0");
    edtCntCycles = AddEdit("edtCntCycles", "Number of Cycles", 232, 57, nullptr, "0");
    edtCntOverrunFrw = AddEdit("edtCntOverrunFrw", "Number of Overruns forward", 272, 57, nullptr, "0");
    edtCntOverrunBkw = AddEdit("edtCntOverrunBkw", "Number of Overruns backward", 312, 57, nullptr, "0");
    edtCntAborted = AddEdit("edtCntAborted", "Number of Abortions", 352, 57, nullptr, "0");
    edtLastStopAngle = AddEdit("edtLastStopAngle", "Last Stop Angle", 392, 57, "degree", "0");
    edtBrakeAngleFrw = AddEdit("edtBrakeAngleFrw", "Current Brake Angle forward", 432, 57, "degree", "0");
    edtBrakeAngleBkw = AddEdit("edtBrakeAngleBkw", "Current Brake Angle backward", 472, 57, "degree", "0");
    edtTurnDirection = AddEdit("edtTurnDirection", "Turn Direction", 512, 57, nullptr, "-.-");
    edtFirmwareRev = AddEdit("edtFirmwareRev", "Firmware Revision", 552, 57, nullptr, "-.-");

    const TEdit* tabOrder[] = {edtLockAngle, edtTmeCycle, edtCntCycles, edtCntOverrunFrw, edtCntOverrunBkw,
                               edtCntAborted, edtLastStopAngle, edtBrakeAngleFrw, edtBrakeAngleBkw,
                               edtFirmwareRev, edtState, edtTurnDirection, edtFunction};
    for (std::size_t i = 0; i + 1 < std::size(tabOrder); ++i)
        QWidget::setTabOrder(const_cast<TEdit*>(tabOrder[i]), const_cast<TEdit*>(tabOrder[i + 1]));

    const int errCaption = 384, errLamp = 520;
    shpErrCommonFault = AddLamp("shpErrCommonFault", "Common Fault", errCaption, errLamp, 72);
    shpErrSecureState = AddLamp("shpErrSecureState", "Secure State", errCaption, errLamp, 104);
    shpErrSensor = AddLamp("shpErrSensor", "Sensor Defect", errCaption, errLamp, 136);
    shpErrOverrunFrw = AddLamp("shpErrOverrunFrw", "Overrun forward", errCaption, errLamp, 168);
    shpErrOverrunBkw = AddLamp("shpErrOverrunBkw", "Overrun backward", errCaption, errLamp, 200);
    shpErrWrongDirFrw = AddLamp("shpErrWrongDirFrw", "wrong Direction forward", errCaption, errLamp, 232);
    shpErrWrongDirBkw = AddLamp("shpErrWrongDirBkw", "wrong Direction backward", errCaption, errLamp, 264);
    shpErrSC = AddLamp("shpErrSC", "Short Circuit at Output", errCaption, errLamp, 296);
    shpErrLockAngleReserve = AddLamp("shpErrLockAngleReserve", "Lock Angle Reserve", errCaption, errLamp, 328);
    shpErrLockAngleEnd = AddLamp("shpErrLockAngleEnd", "End of Lock Angle Reserve", errCaption, errLamp, 360);
    shpErrStartup = AddLamp("shpErrStartup", "Start Up", errCaption, errLamp, 392);
    shpErrWrgStartAngle = AddLamp("shpErrWrgStartAngle", "Changed Sensor Position", errCaption, errLamp, 424);
    shpErrWrgRotMode = AddLamp("shpErrWrgRotMode", "Changed Rotary Mode", errCaption, errLamp, 456);
    shpErrWrgRotDir = AddLamp("shpErrWrgRotDir", "Changed Rotary Direction", errCaption, errLamp, 488);
    shpErrWrgLockAngle = AddLamp("shpErrWrgLockAngle", "Changed Lock Angle", errCaption, errLamp, 520);
    shpErrBothInputsOn = AddLamp("shpErrBothInputsOn", "Both Inputs On", errCaption, errLamp, 552);

    const int inCaption = 648, inLamp = 736;
    shpInFrwOn = AddLamp("shpInFrwOn", "Forward On", inCaption, inLamp, 72);
    shpInBkwOn = AddLamp("shpInBkwOn", "Backward On", inCaption, inLamp, 104);
    shpInMovSlowly = AddLamp("shpInMovSlowly", "Moving Slowly", inCaption, inLamp, 136);
    shpInFrwThrough = AddLamp("shpInFrwThrough", "Forward Through", inCaption, inLamp, 168);
    shpInTurnTwoTimes = AddLamp("shpInTurnTwoTimes", "Turn 2x Times", inCaption, inLamp, 200);

    const int outCaption = 848, outLamp = 992;
    shpOutFrwStart = AddLamp("shpOutFrwStart", "Forward Start", outCaption, outLamp, 72);
    shpOutBkwStart = AddLamp("shpOutBkwStart", "Backward Start", outCaption, outLamp, 104);
    shpOutCommonFault = AddLamp("shpOutCommonFault", "Common Fault", outCaption, outLamp, 136);
    shpOutWLockAngleRes = AddLamp("shpOutWLockAngleRes", "Warning Lock Angle Reserve", outCaption, outLamp, 168);
    shpOutInPosition = AddLamp("shpOutInPosition", "In Position", outCaption, outLamp, 200);
    shpOutOverrunFrw = AddLamp("shpOutOverrunFrw", "Overrun forward", outCaption, outLamp, 232);
    shpOutOverrunBkw = AddLamp("shpOutOverrunBkw", "Overrun backward", outCaption, outLamp, 264);
    shpOutPosFrw = AddLamp("shpOutPosFrw", "In Position forward", outCaption, outLamp, 296);
    shpOutPosBkw = AddLamp("shpOutPosBkw", "In Position backward", outCaption, outLamp, 328);
    shpOutInsideLockAngle = AddLamp("shpOutInsideLockAngle", "Target inside Lock Angle", outCaption, outLamp, 360);

    FinishCreation(MakeToolbarImages()[3]);
}
