// The handle in the per-user registry.
#pragma once

#include <string>

#include "app/services.h"

namespace wendrel {

// Where such per-user settings have always lived, so a handle stored by an
// earlier version keeps working.
inline constexpr char kHandleKeyPath[] =
    "Software\\VB and VBA Program Settings\\wendrel idler\\settings";
inline constexpr char kHandleValueName[] = "handle";

// Value "handle" (REG_SZ) under HKEY_CURRENT_USER\<key_path>.
class RegistryHandleStore : public HandleStore {
 public:
  explicit RegistryHandleStore(std::string key_path = kHandleKeyPath);

  // "" when the key or the value is absent or not a string.
  std::string Read() override;
  // Failures are silent: the next announcing handler simply asks again.
  void Write(const std::string& handle) override;

 private:
  std::string key_path_;
};

}  // namespace wendrel
