#pragma once
#include <QString>

// A data file named without a directory: the current directory first, then the program's own data
// directory (data/ beside the executable in the build tree, share/tallyroll when installed).
// Empty when neither has it.
QString dataFilePath(const QString& name);
