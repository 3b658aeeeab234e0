#pragma once
// Lets a child process of the tests meet permission bits as an ordinary user meets them, also
// when the tests run as root (as in CI): the capabilities that override file permissions are
// dropped for the rest of the process. A read-only file or folder then refuses its writes, which
// is what the tests of read-only disks need. Without those capabilities nothing changes.

#ifdef __linux__
#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

inline bool rechteAblegen() {
#ifdef __linux__
  __user_cap_header_struct kopf{_LINUX_CAPABILITY_VERSION_3, 0};
  __user_cap_data_struct daten[2] = {};
  if (syscall(SYS_capget, &kopf, daten) != 0)
    return false;
  const unsigned maske =
      (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
  daten[0].effective &= ~maske;
  daten[0].permitted &= ~maske;
  daten[0].inheritable &= ~maske;
  return syscall(SYS_capset, &kopf, daten) == 0;
#else
  return true;
#endif
}
