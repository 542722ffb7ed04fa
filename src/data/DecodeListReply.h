#pragma once
// Turns one list reply of the unit into the values of the State and Statistic
// windows.

// The list kinds, in the order the upload asks for them.
enum : unsigned {
    ListStopAnglesFrw = 1,
    ListBrakeAnglesFrw = 2,
    ListStopAnglesBkw = 3,
    ListBrakeAnglesBkw = 4,
    ListCycleTimes = 5,
    ListOutputs = 6,
    ListErrors = 7,
    ListInputs = 8,
    ListControl = 9,
    ListDiagnosis = 10,
};

// The reply is the zero-terminated text as the list exchange delivered it;
// its decimal commas are turned into points in place. Kinds 1 ... 10 write
// their fields line by line; any other kind writes nothing and answers true.
// False when the reply has fewer lines than the kind needs, or a field could
// not be written: the lines before that keep the values just written.
bool DecodeListReply(char* reply, unsigned kind);

// The number of lines a kind reads (0 for kinds that do not exist).
int ListLineCount(unsigned kind);
