// The absolute path of a file name in the current directory.
#pragma once

namespace platform {

// The current directory, "/" and `name`, as long as the path is: there is no
// fixed length limit. The text stays valid until the next call. Null when the
// path cannot be formed (the current directory was removed or cannot be read,
// or no memory is left for the text).
const char* fullPath(const char* name);

}  // namespace platform
