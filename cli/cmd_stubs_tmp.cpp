#include "commands.h"
namespace vrl::cli {
int cmdModels(const Args&) { return 1; }
int cmdIdentify(const Args&) { return 1; }
int cmdNew(const Args&) { return 1; }
int cmdInfo(const Args&) { return 1; }
int cmdDump(const Args&) { return 1; }
}
