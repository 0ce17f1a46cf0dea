// CTimeLine: moments at given steps, each with the actions to run when an instance's time line passes it.
#include "world/time_line.h"

namespace quillon {

bool CTimeLine::read_record(CStream& stream)
{
    if (stream.ReadInt() != TIME_LINE_VERSION)
        return false;
    std::int32_t count = stream.ReadInt();
    moments.clear();
    for (std::int32_t i = 0; i < count; ++i) {
        Moment& moment = moments.emplace_back();
        moment.step = stream.ReadInt();
        if (!moment.event.read_record(stream))
            return false;
    }
    return true;
}

void CTimeLine::write_record(CStream& stream) const
{
    stream.WriteInt(TIME_LINE_VERSION);
    stream.WriteInt(static_cast<std::int32_t>(moments.size()));
    for (const Moment& moment : moments) {
        stream.WriteInt(moment.step);
        moment.event.write_record(stream);
    }
}

int CTimeLine::MomentIndex(double position) const
{
    int count = static_cast<int>(moments.size());
    if (count == 0 || moments.back().step < position)
        return count;
    for (int i = 0; i < count; ++i) {
        if (moments[i].step >= position)
            return i;
    }
    return count;
}

}  // namespace quillon
