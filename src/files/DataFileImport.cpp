#include "app/TForm1.h"

// Loading the data file arrives with the file work.
void TForm1::acDateiOeffnenExecute() {}
