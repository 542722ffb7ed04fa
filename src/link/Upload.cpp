#include "app/TForm1.h"

// The upload arrives with the link work.
void TForm1::acDatenUploadExecute() {}
void TForm1::Timer1Timer() {}
