#ifndef SALARY_APP_REGISTER_REGISTER_STORAGE_H_
#define SALARY_APP_REGISTER_REGISTER_STORAGE_H_

#include <array>
#include <vector>

#include "app/progress_display.h"
#include "app/register/salary_register.h"
#include "platform/fs/file_system.h"
#include "runtime/recdb/format.h"
#include "runtime/recdb/recdb.h"

// How the salary register becomes records of a register file and back. A register file is a
// record database of 22 fields, one per column of the register (text at 1, 2 and 22, numeric at
// 3 to 21): one record per person in register order, then one trailing blank record.
namespace sr::app {

inline constexpr char kRegisterAlias[] = "打开的数据";
inline constexpr char kRelayFileName[] = "ZhongZhuan.rgq";
inline constexpr char kScratchFileName[] = "lsk1.dat";
inline constexpr int kRegisterFields = kRegisterColumns;

// A side file of the program directory: the directory, a backslash and the name.
Text SideFilePath(const Text& program_directory, const Text& name);

// Sets the register's titles to the relay file's field names; titles are empty when the relay
// file cannot be opened. The relay file is closed again.
void FillTitleRow(DatabaseTable& databases, const Text& relay_path,
                  SalaryRegister& salary_register);

// Whether the current database has the register's shape; otherwise *reason says what is wrong.
bool HasRegisterShape(DatabaseTable& databases, Text* reason);

// The file that a name chosen in the open or save dialog stands for: the record database's own
// rule ("NAME.KDB" for a name without extension), so that Save writes the file that Open reads.
Text RegisterFileName(const Text& chosen);

// What a refusal of a file that is no database or whose header contradicts its fields adds.
inline constexpr char kDamagedFileAdvice[] =
    "（文件可能已损坏，程序没有改动它；请用备份，或请维护人员用 regdb check 检查）";

// Whether `path` is a register file that Open may show. The file is looked at only through a
// read-only open, so a file that is refused is never changed (the repair of a register whose
// last records are missing is left to the open that shows it). Otherwise *reason says why.
bool CheckRegisterFile(fs::FileSystem& files, const Text& path, Text* reason);

// Opens the register file `path` under "打开的数据" and makes it current: for reading and
// writing, or for reading only (*view_only) when this process may not replace the file (a
// read-only file, folder or medium, another owner's file). False with the database's error.
// A register whose size the open repaired tells where its copy was kept (RepairNotice).
bool OpenRegisterDatabase(DatabaseTable& databases, fs::FileSystem& files, const Text& path,
                          bool* view_only);

// What to tell the user when the open of the current database repaired its size: the file,
// what was done and where the copy of it as it was is kept; empty without a repair.
Text RepairNotice(const DatabaseTable& databases, const Text& shown_path);

// Loads the current database into the register: titles from the field names, one row per
// record, except a last record with empty fields 1 and 2 (the trailing blank record Save
// writes). Each cell gets ToText of its stored value; amounts of about zero in columns 2 to 19
// are empty texts. Returns false, with *reason, when a read failed; the register then holds what
// was read.
bool LoadRegister(DatabaseTable& databases, SalaryRegister& salary_register,
                  ProgressDisplay* progress, Text* reason);

// Sort's reload: one row per record of the current database, the blank record included
// wherever it stands, and zero amounts in columns 2 to 20 as empty texts.
bool LoadSortedRegister(DatabaseTable& databases, SalaryRegister& salary_register, Text* reason);

// Appends the register's people, then the trailing blank record, to the current database: text
// columns as their texts, amounts as ToNumber of their texts. Stops with false, *reason naming
// the cell, at a person whose amount no numeric field can hold (past the range of a double, or
// of a float field): no infinity ever reaches a register file.
bool WriteRegister(DatabaseTable& databases, const SalaryRegister& salary_register,
                   ProgressDisplay* progress, Text* reason);

// The bytes each text column of the register holds in its file (0 for the amount columns).
using TextWidths = std::array<int32_t, kRegisterColumns>;

// The text widths of the register file that Save shapes the register after: `shown`'s fields
// when there is a register file shown, else the relay file's. All 0 (no bound known) when the
// fields cannot be read or have not the register's shape.
TextWidths TextFieldWidths(fs::FileSystem& files, const Text& relay_path,
                           const struct RegisterStructure* shown);

// Where the structure of a saved register comes from.
enum class StructureSource {
  kRelayFile,      // a new register: an empty copy of the relay file's structure
  kSavedRegister,  // a register file: its header, descriptors and next serial number
  kShownRegister   // the structure of the register shown, as read when it was opened
};

// The header and field descriptors of a register file.
struct RegisterStructure {
  recdb::Header header;
  std::vector<recdb::FieldDescriptor> fields;
};
// REQUIRES: a current database.
RegisterStructure CurrentStructure(const DatabaseTable& databases);

// Saves the register into `target` without ever leaving a half-written register there (see
// FileReplacement): the replaced file's mode, owner and group are kept, and a target that is a
// symbolic link stays one. `source` is the relay file, or a register file whose structure the
// new file takes (the target itself, or the register that Save As copies). Neither file may be
// open in `databases`. With kShownRegister, `source` is not read: the new file takes `*shown`
// (Save As keeps the names and types of the register shown even when its file has been damaged
// or removed since). On failure the target is as it was and *reason names the cause.
bool SaveRegisterFile(DatabaseTable& databases, fs::FileSystem& files, StructureSource kind,
                      const Text& source, const Text& target, const SalaryRegister& salary_register,
                      ProgressDisplay* progress, Text* reason,
                      const RegisterStructure* shown = nullptr);

}  // namespace sr::app

#endif  // SALARY_APP_REGISTER_REGISTER_STORAGE_H_
