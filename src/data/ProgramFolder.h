#pragma once

#include <QString>

// The folder of an installed program's own libraries and helper programs,
// <prefix>/lib/.../corvel-club, found from the running program's own folder.
QString programLibraryFolder();
