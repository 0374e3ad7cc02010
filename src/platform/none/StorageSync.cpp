// A system whose file system is itself the storage that lasts: a file
// written whole is already kept, and there is nothing to hand on.
#include "platform/StorageSync.h"

void StorageSync::afterWrite(const FilePath&) {}
