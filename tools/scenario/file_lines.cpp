// Script lines about files in the program directory: making data files before an action needs
// them (the record checks are in record_expectations.cpp).
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

#include "base/gbk.h"
#include "runtime/convert/conversions.h"
#include "runtime/recdb/create_file.h"
#include "runtime/recdb/format.h"
#include "tools/datagen/content.h"
#include "tools/scenario/runner.h"

namespace sr::scenario {

namespace {

recdb::FieldDescriptor Field(const Text& name, recdb::FieldType type, int32_t width = 0) {
  recdb::FieldDescriptor field;
  field.name = name;
  field.type = type;
  field.text_width = width;
  return field;
}

// "NAME:text:WIDTH" or "NAME:double" (also byte, short, int, int64, float, memo).
recdb::FieldDescriptor ParseField(const Text& description) {
  size_t colon = description.find(':');
  if (colon == Text::npos) throw Failure("a field is NAME:TYPE");
  Text name = description.substr(0, colon);
  Text type = description.substr(colon + 1);
  if (type.rfind("text:", 0) == 0) {
    return Field(name, recdb::FieldType::kText, std::stoi(type.substr(5)));
  }
  static const std::pair<const char*, recdb::FieldType> kTypes[] = {
      {"byte", recdb::FieldType::kByte},   {"short", recdb::FieldType::kShort},
      {"int", recdb::FieldType::kInt},     {"int64", recdb::FieldType::kInt64},
      {"float", recdb::FieldType::kFloat}, {"double", recdb::FieldType::kDouble},
      {"memo", recdb::FieldType::kMemo}};
  for (const auto& [word, code] : kTypes) {
    if (type == word) return Field(name, code);
  }
  throw Failure("unknown field type " + ToUtf8(type));
}

void MakeDatabase(Runner& runner, const Text& file, std::vector<recdb::FieldDescriptor> fields,
                  const Text& password) {
  std::shared_ptr<recdb::PageCipher> cipher;
  if (!password.empty()) cipher = std::make_shared<recdb::PageCipher>(password);
  if (recdb::CreateDatabaseFile(runner.file_system(), file, std::move(fields), cipher, 0) != 0) {
    throw Failure("cannot create " + ToUtf8(file));
  }
}

// From UTF-8 as such: a narrow string would be read in the Windows code page.
std::filesystem::path Native(const Text& path) {
  const std::string utf8 = ToUtf8(path);
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

// An octal mode such as "600", or Failure.
std::filesystem::perms Mode(const Text& word) {
  size_t used = 0;
  const unsigned long mode = std::stoul(word, &used, 8);
  if (used != word.size() || mode > 07777) throw Failure("a mode is octal, like 600");
  return static_cast<std::filesystem::perms>(mode);
}

// The whole content of a file in the program directory, or Failure.
std::string ReadWhole(fs::FileSystem& files, const Text& name) {
  std::unique_ptr<fs::File> file;
  int64_t length = 0;
  size_t got = 0;
  std::string bytes;
  if (files.Open(name, fs::Access::kRead, fs::Share::kDenyNone, fs::Disposition::kOpenExisting,
                 &file) == fs::kOk &&
      file->Length(&length) == fs::kOk) {
    bytes.resize(static_cast<size_t>(length));
    if (length == 0 || file->ReadAt(0, bytes.data(), bytes.size(), &got) == fs::kOk) {
      if (got == bytes.size()) return bytes;
    }
  }
  throw Failure("cannot read " + ToUtf8(name));
}

// A record database's header holds the moment the file was made: both files get the same one,
// so that only what the program wrote is compared.
void SetCreationTimeToZero(std::string* bytes) {
  if (bytes->size() >= static_cast<size_t>(recdb::kHeaderSize) &&
      (bytes->starts_with(recdb::kPlainMagic) || bytes->starts_with(recdb::kProtectedMagic))) {
    bytes->replace(recdb::kCreatedOffset, sizeof(double), sizeof(double), '\0');
  }
}

// FILE's bytes against REFERENCE's (a file beside the script): Failure at the first difference.
void ExpectSameBytes(Runner& r, const Line& line) {
  std::string wrote = ReadWhole(r.file_system(), Runner::Arg(line, 2));
  const std::string reference_name = r.script_folder() + "/" + ToUtf8(Runner::Arg(line, 3));
  std::ifstream in(reference_name, std::ios::binary);
  if (!in) throw Failure("cannot read " + reference_name);
  std::ostringstream reference;
  reference << in.rdbuf();
  std::string expected = reference.str();
  SetCreationTimeToZero(&wrote);
  SetCreationTimeToZero(&expected);
  if (wrote == expected) return;
  size_t at = 0;
  while (at < wrote.size() && at < expected.size() && wrote[at] == expected[at]) ++at;
  throw Failure(ToUtf8(Runner::Arg(line, 2)) + " (" + std::to_string(wrote.size()) +
                " bytes) differs from " + reference_name + " (" + std::to_string(expected.size()) +
                " bytes) from byte " + std::to_string(at));
}

}  // namespace

void AddFileLines(Runner& runner) {
  // make-relay: the relay file ZhongZhuan.rgq as it is installed, with the default titles.
  runner.AddAction("make-relay", [](Runner& r, const Line&) {
    MakeDatabase(r, datagen::kRelayFileName, datagen::RelayFields(), Text());
  });
  // make-database FILE [password=PW] FIELD...: an empty record database of these fields.
  runner.AddAction("make-database", [](Runner& r, const Line& line) {
    Text password;
    std::vector<recdb::FieldDescriptor> fields;
    for (size_t i = 2; i < line.words.size(); ++i) {
      if (line.words[i].rfind("password=", 0) == 0) {
        password = line.words[i].substr(9);
      } else {
        fields.push_back(ParseField(line.words[i]));
      }
    }
    MakeDatabase(r, Runner::Arg(line, 1), std::move(fields), password);
  });
  // write-file FILE TEXT: a plain file with this content.
  runner.AddAction("write-file", [](Runner& r, const Line& line) {
    std::unique_ptr<fs::File> file;
    const Text& text = Runner::Arg(line, 2);
    if (r.file_system().Open(Runner::Arg(line, 1), fs::Access::kWrite, fs::Share::kDenyNone,
                             fs::Disposition::kCreateAlways, &file) != fs::kOk ||
        file->WriteAt(0, text.data(), text.size()) != fs::kOk) {
      throw Failure("cannot write " + ToUtf8(Runner::Arg(line, 1)));
    }
  });
  // write-utf8-file FILE TEXT: the same with the text in UTF-8, as other programs write it.
  runner.AddAction("write-utf8-file", [](Runner& r, const Line& line) {
    std::unique_ptr<fs::File> file;
    const std::string text = ToUtf8(Runner::Arg(line, 2));
    if (r.file_system().Open(Runner::Arg(line, 1), fs::Access::kWrite, fs::Share::kDenyNone,
                             fs::Disposition::kCreateAlways, &file) != fs::kOk ||
        file->WriteAt(0, text.data(), text.size()) != fs::kOk) {
      throw Failure("cannot write " + ToUtf8(Runner::Arg(line, 1)));
    }
  });
  // file-mode FILE MODE: sets the file's permissions (octal, like 600).
  runner.AddAction("file-mode", [](Runner&, const Line& line) {
    std::error_code error;
    std::filesystem::permissions(Native(Runner::Arg(line, 1)), Mode(Runner::Arg(line, 2)), error);
    if (error) throw Failure("cannot set the mode of " + ToUtf8(Runner::Arg(line, 1)));
  });
  // link NAME TARGET: a symbolic link NAME to TARGET (relative to NAME's folder).
  runner.AddAction("link", [](Runner&, const Line& line) {
    std::error_code error;
    std::filesystem::create_symlink(Native(Runner::Arg(line, 2)), Native(Runner::Arg(line, 1)),
                                    error);
    if (error) throw Failure("cannot make the link " + ToUtf8(Runner::Arg(line, 1)));
  });
  // make-folder NAME: a folder (and the folders on its way).
  runner.AddAction("make-folder", [](Runner&, const Line& line) {
    std::error_code error;
    std::filesystem::create_directories(Native(Runner::Arg(line, 1)), error);
    if (error) throw Failure("cannot make the folder " + ToUtf8(Runner::Arg(line, 1)));
  });
  // expect mode FILE MODE: the file (a link's target) has these permissions.
  runner.AddExpectation("mode", [](Runner&, const Line& line) {
    std::error_code error;
    const auto status = std::filesystem::status(Native(Runner::Arg(line, 2)), error);
    if (error || !std::filesystem::exists(status)) {
      throw Failure("no file " + ToUtf8(Runner::Arg(line, 2)));
    }
#ifndef _WIN32
    // Windows keeps no such modes: there the file's being there is what can be checked.
    char octal[8];
    std::snprintf(octal, sizeof octal, "%o", static_cast<unsigned>(status.permissions()) & 07777);
    Runner::ExpectEqual("mode", Runner::Arg(line, 3), octal);
#endif
  });
  // expect link NAME yes|no: NAME is a symbolic link.
  runner.AddExpectation("link", [](Runner&, const Line& line) {
    std::error_code error;
    const bool link = std::filesystem::is_symlink(Native(Runner::Arg(line, 2)), error);
    Runner::ExpectEqual("symbolic link", Runner::Arg(line, 3), link ? "yes" : "no");
  });
  // expect same-bytes FILE REFERENCE: FILE holds exactly the bytes of REFERENCE, a file beside
  // the script, so that every build of the program is held to the same bytes (a record
  // database's creation time aside).
  runner.AddExpectation("same-bytes", ExpectSameBytes);
  // expect file FILE yes|no: the file exists.
  runner.AddExpectation("file", [](Runner& r, const Line& line) {
    bool exists = false;
    r.file_system().Exists(Runner::Arg(line, 2), &exists);
    Runner::ExpectEqual("file exists", Runner::Arg(line, 3), exists ? "yes" : "no");
  });
}

}  // namespace sr::scenario
