#ifndef SALARY_PLATFORM_WIN32_FS_FILE_ATTRIBUTES_H_
#define SALARY_PLATFORM_WIN32_FS_FILE_ATTRIBUTES_H_

#include <string>

// What a file that takes the place of another inherits from it, and where "its place" is when
// the name is a symbolic link.
namespace sr::win32 {

// The path that `wide` finally names once symbolic links are followed; `wide` itself when it is
// no link. The system resolves only links whose target exists: a link to a missing file stays
// `wide`.
int FollowLinks(const std::wstring& wide, std::wstring* target);

// Gives the file `to` the access control list and the hidden, system and archive attributes of
// the file `from`, so that a file written to replace `from` is no more readable than `from`.
// The owner stays: only a privileged process gives a file away. A volume without access control
// lists (FAT) keeps only the attributes. A `from` that does not exist leaves `to` as it is.
int HandOnAttributes(const std::wstring& from, const std::wstring& to);

// Whether this process may put a new file in the place of `target` (links already followed):
// the file, when it exists, may be written, and its folder takes new files. A missing file or
// folder is not a refusal.
bool MayReplaceWide(const std::wstring& target);

}  // namespace sr::win32

#endif  // SALARY_PLATFORM_WIN32_FS_FILE_ATTRIBUTES_H_
