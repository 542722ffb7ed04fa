#include "app/TForm1.h"

// Saving the data file arrives with the file work.
void TForm1::acDateiSpeichernExecute() {}
