// Placeholder for the programming command, which is being written now.
#include "app/CProgrammerDlg.h"
