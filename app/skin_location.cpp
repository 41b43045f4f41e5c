#include "app/skin_location.h"

std::string ChooseSkinDirectory(bool workingSkinExists, std::string_view programPath,
                                size_t limit) {
  if (workingSkinExists) return WORKING_SKIN_DIRECTORY;
  size_t slash = programPath.find_last_of('\\');
  if (slash == std::string_view::npos) return WORKING_SKIN_DIRECTORY;
  std::string beside(programPath.substr(0, slash + 1));
  beside += "skin\\";
  return beside.size() <= limit ? beside : WORKING_SKIN_DIRECTORY;
}
