#pragma once
// The State window: the scalar device data as read-only texts and lamps.
// The controls are the store: uploads and file loads write them, saving and
// printing read them back.

#include <vector>

#include "platform/ChildForm.h"
#include "platform/Edit.h"
#include "platform/Lamp.h"

class QLabel;
class QMdiArea;

class TForm2 : public TChildForm {
    Q_OBJECT
public:
    explicit TForm2(QMdiArea* area);

    TEdit* edtFunction;
    TEdit* edtState;
    TEdit* edtLockAngle;
    TEdit* edtTmeCycle;
    TEdit* edtCntCycles;
    TEdit* edtCntOverrunFrw;
    TEdit* edtCntOverrunBkw;
    TEdit* edtCntAborted;
    TEdit* edtLastStopAngle;
    TEdit* edtBrakeAngleFrw;
    TEdit* edtBrakeAngleBkw;
    TEdit* edtTurnDirection;
    TEdit* edtFirmwareRev;

    TShape* shpErrCommonFault;
    TShape* shpErrSecureState;
    TShape* shpErrSensor;
    TShape* shpErrOverrunFrw;
    TShape* shpErrOverrunBkw;
    TShape* shpErrWrongDirFrw;
    TShape* shpErrWrongDirBkw;
    TShape* shpErrSC;
    TShape* shpErrLockAngleReserve;
    TShape* shpErrLockAngleEnd;
    TShape* shpErrStartup;
    TShape* shpErrWrgStartAngle;
    TShape* shpErrWrgRotMode;
    TShape* shpErrWrgRotDir;
    TShape* shpErrWrgLockAngle;
    TShape* shpErrBothInputsOn;

    TShape* shpInFrwOn;
    TShape* shpInBkwOn;
    TShape* shpInMovSlowly;
    TShape* shpInFrwThrough;
    TShape* shpInTurnTwoTimes;

    TShape* shpOutFrwStart;
    TShape* shpOutBkwStart;
    TShape* shpOutCommonFault;
    TShape* shpOutWLockAngleRes;
    TShape* shpOutInPosition;
    TShape* shpOutOverrunFrw;
    TShape* shpOutOverrunBkw;
    TShape* shpOutPosFrw;
    TShape* shpOutPosBkw;
    TShape* shpOutInsideLockAngle;

private:
    TEdit* AddEdit(const char* name, const char* caption, int top, int width, const char* unit, const char* initial);
    TShape* AddLamp(const char* name, const char* caption, int captionLeft, int lampLeft, int top);
    QLabel* AddLabel(const QString& text, int left, int top, int pixelHeight = 0);
};

extern TForm2* Form2;
