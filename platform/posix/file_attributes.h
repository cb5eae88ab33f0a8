#ifndef SALARY_PLATFORM_POSIX_FILE_ATTRIBUTES_H_
#define SALARY_PLATFORM_POSIX_FILE_ATTRIBUTES_H_

#include <sys/stat.h>

#include <string>

// What a file that takes the place of another inherits from it, and where "its place" is when
// the name is a symbolic link.
namespace sr::posix {

// The native path that `native` finally names once symbolic links are followed (the last name
// need not exist). A loop of links gives kBadPath.
int FollowLinks(const std::string& native, std::string* target);

// Gives the file open as `fd` the owner, group and mode in `old`. Only a privileged process may
// give a file away to another owner; otherwise the group is kept where the process may choose
// it, and the mode always. Returns 0, or the code of a mode that could not be set.
int HandOnAttributes(const struct stat& old, int fd);

// Whether this process may put a new file in the place of `target` (a native path, links
// already followed): neither the file nor its folder refuses to be written. A missing file or
// folder is not a refusal.
bool MayReplaceNative(const std::string& target);

}  // namespace sr::posix

#endif  // SALARY_PLATFORM_POSIX_FILE_ATTRIBUTES_H_
