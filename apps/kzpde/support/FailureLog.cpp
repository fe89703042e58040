#include "FailureLog.h"

#include <ostream>

#include "platform/foundation/Log.h"

namespace kzpde {

void FailureLog::tell(int status, const std::vector<std::string>& lines, std::ostream& err, std::string_view prefix) {
    if (status == 0 || kz::Log::stderrEnabled()) return;
    for (const std::string& line : lines)
        if (line.starts_with(prefix)) err << line << "\n";
}

}  // namespace kzpde
