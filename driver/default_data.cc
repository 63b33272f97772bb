#include "driver/default_data.h"

#include <system_error>

#include "common/replacing_file.h"

namespace towngen {

int initDataFolder(const std::filesystem::path& folder, std::ostream& out, std::ostream& err) {
  const std::filesystem::path where = folder.empty() ? "." : folder;
  std::error_code error;
  std::filesystem::create_directories(where, error);
  if (error) {
    err << "towngen: cannot make the folder " << where.string() << ": " << error.message() << "\n";
    return 1;
  }
  for (const DataFile& file : defaultDataFiles()) {
    const std::filesystem::path path = folder / file.name;
    if (std::filesystem::exists(std::filesystem::symlink_status(path, error))) {
      out << "kept  " << path.string() << " (there already)\n";
      continue;
    }
    ReplacingFile written(path);
    error = written.openError();
    if (!error) {
      written.stream().write(file.contents.data(),
                             static_cast<std::streamsize>(file.contents.size()));
      error = written.commit();
    }
    if (error) {
      err << "towngen: cannot write " << path.string() << ": " << error.message() << "\n";
      return 1;
    }
    out << "wrote " << path.string() << "\n";
  }
  return 0;
}

}  // namespace towngen
