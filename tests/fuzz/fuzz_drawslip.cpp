// The slip renderers on a fuzzed setting file: the slip and print positions load from it and
// the whole slip, its receipt half or a continuous-print row (from a table made of its address
// lines) is recorded on a page over the tests' metrics and replayed, on a device of fuzzed
// resolution and offsets.
#include "fuzzcheck.h"

#include "aids/continuoustable.h"
#include "model/coords.h"
#include "model/digitcells.h"
#include "model/tprintpositions.h"
#include "preview/pagerecording.h"
#include "render/drawslip.h"
#include "render/drawslipform.h"
#include "settings/inifile.h"
#include "settings/settings.h"
#include "support/recordingcanvas.h"

#include <fuzzer/FuzzedDataProvider.h>

using namespace nobrisa;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The device and the choices come from the input's last bytes, so a setting file as it is
    // still loads almost whole.
    FuzzedDataProvider in(data, size);
    const std::uint8_t choice = in.ConsumeIntegral<std::uint8_t>();
    FixedDevice device;
    if (choice & 0x80) {
        device.logPixelsX = in.ConsumeIntegralInRange(0, 4800);
        device.logPixelsY = in.ConsumeIntegralInRange(0, 4800);
        device.offsetX = in.ConsumeIntegralInRange(-1000, 1000);
        device.offsetY = in.ConsumeIntegralInRange(-1000, 1000);
        device.horzRes = in.ConsumeIntegralInRange(0, 20000);
        device.vertRes = in.ConsumeIntegralInRange(0, 20000);
    }
    ColumnMapping mapping;
    const bool mapped = choice & 0x40;
    if (mapped) {
        for (int& s : mapping.selection)
            s = in.ConsumeIntegralInRange(-1, 12);
    }
    const int row = in.ConsumeIntegralInRange(0, 8);

    const IniFile ini = IniFile::fromBytes(fuzz::bytesOf(data, in.remaining_bytes()));
    SettingsState state;
    readSettings(ini, QStringLiteral("/home/user/slip.dat"), state, SettingsEnvironment());
    TPrintPositions positions;
    readPrintPositions(ini, positions);

    test::RecordingCanvas metrics;
    PageRecording page;
    {
        PageRecorder recorder(metrics, page);
        recorder.setFontPixelsPerInch(device.logPixelsY);
        DrawSlipForm(recorder, Coords(device, state.slip.ox(), state.slip.oy()));
        DigitCells cells;
        const SlipSource source{state.slip, positions, device, cells};
        switch (choice % 3) {
        case 0:
            DrawSlip(recorder, source);
            break;
        case 1:
            DrawSlipRight(recorder, source);
            break;
        default: {
            // The address lines as a CSV file: one table row each.
            ContinuousTable table;
            table.openCsv(state.slip.Maddres.toUtf8(), state.slip.SEkingaku.text());
            if (!mapped)
                mapping = table.mapping;
            DrawSlipRow(recorder, source, RowSource{table.table, mapping, row});
            break;
        }
        }
    }
    test::RecordingCanvas replayed;
    page.replay(replayed);
    fuzz::check(!page.calls.empty(), "the form is drawn");
    return 0;
}
