// Value: its stored form in streams.
#include "code/value.h"

#include "support/stream.h"

namespace quillon {

void Value::save(CStream& stream) const
{
    stream.WriteInt(static_cast<std::int32_t>(kind));
    stream.WriteReal(real);
    stream.WriteString(string.view());
}

void Value::load(CStream& stream)
{
    kind = stream.ReadInt() == 1 ? ValueKind::string : ValueKind::real;
    real = stream.ReadReal();
    string = ScriptString(stream.ReadString());
}

}  // namespace quillon
