#include "host/windows/host_record.h"

namespace gm {

HostRecord& host_record()
{
    static HostRecord record;
    return record;
}

} // namespace gm
