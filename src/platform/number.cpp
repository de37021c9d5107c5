#include "platform/number.h"

namespace plat {
namespace {
char g_separator = '.';
}

char DecimalSeparator() { return g_separator; }
void SetDecimalSeparator(char separator) { g_separator = separator; }

}  // namespace plat
