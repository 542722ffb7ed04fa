#include "link/TForm6.h"

// The live measurement arrives with the link work.
void TForm6::CheckBox1Click() {}
void TForm6::Timer1Timer() {}
