#include "log/log_rotation.h"

bool RotationDue(uint64_t fileBytes, uint64_t lineBytes) {
  return fileBytes > 0 && fileBytes + lineBytes > LOG_ROTATE_BYTES;
}
