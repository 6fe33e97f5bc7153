// The registered payers and subscribers in a fuzzed INI file: the lists read, an entry written
// again reads back as it was, and a delete moves every later entry down by one.
#include "fuzzcheck.h"

#include "aids/registeredlist.h"
#include "settings/inifile.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>

using namespace nobrisa;

namespace {

// Entries compared after a change; a file may count far more than are worth reading here.
constexpr int kCompared = 40;

void checkList(const RegisteredList& list, const IniFile& ini, FuzzedDataProvider& in)
{
    const int count = list.count(ini);
    fuzz::check(count >= 0, "count");
    const QStringList names = list.names(ini, count);
    fuzz::check(names.size() == count, "one name an entry");
    const int compared = std::min(count, kCompared);
    std::vector<QStringList> values;
    for (int i = 0; i < compared; ++i) {
        values.push_back(list.values(ini, i));
        fuzz::check(values.back().size() == static_cast<qsizetype>(list.fields().size()),
                    "one value a field");
    }

    // An entry written again as a new last entry reads back the same.
    if (compared > 0) {
        const int source = in.ConsumeIntegralInRange(0, compared - 1);
        IniFile added = ini;
        list.write(added, count, count + 1, names[source], values[static_cast<size_t>(source)]);
        fuzz::check(list.count(added) == count + 1, "entry added");
        fuzz::check(list.names(added, count + 1).last() == names[source], "name written",
                    names[source]);
        fuzz::check(list.values(added, count) == values[static_cast<size_t>(source)],
                    "values written", values[static_cast<size_t>(source)].join(u'|'));
    }

    const int index = in.ConsumeIntegralInRange(-1, count);
    IniFile after = ini;
    const int left = list.remove(after, index, count);
    if (index < 0 || index >= count) {
        fuzz::check(left == count && after.toText() == ini.toText(), "nothing deleted");
        return;
    }
    fuzz::check(left == count - 1 && list.count(after) == left, "one entry fewer");
    const QStringList namesAfter = list.names(after, left);
    for (int j = 0; j < std::min(left, kCompared - 1); ++j) {
        const int from = j < index ? j : j + 1;
        fuzz::check(namesAfter[j] == names[from], "name kept in order", names[from]);
        fuzz::check(list.values(after, j) == values[static_cast<size_t>(from)],
                    "values kept in order");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The choices come from the input's last bytes; the rest is the file.
    const std::size_t choices = std::min<std::size_t>(size, 16);
    FuzzedDataProvider tail(data + size - choices, choices);
    const IniFile ini = IniFile::fromBytes(fuzz::bytesOf(data, size - choices));
    checkList(RegisteredList(RegisteredList::Kind::Payers), ini, tail);
    checkList(RegisteredList(RegisteredList::Kind::Subscribers), ini, tail);
    return 0;
}
