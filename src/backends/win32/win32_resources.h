// The numbers of the program's resources, shared by tasklane.rc and the code.
#pragma once

#define IDI_PROGRAM 1
#define IDS_LANGUAGE 1
