#pragma once

#include <QString>

#include <functional>

// Opens the folder in the system's file manager; true when the system took the request.
bool showFolder(const QString& path);

// Tests: the next requests go to `hook` instead of the system (an empty function restores the system).
using ShowFolderHook = std::function<bool(const QString& path)>;
void interceptShowFolder(ShowFolderHook hook);
