#include "main/fancontrol/AFCRecord.h"

#include <vector>

#include "main/Numbers.h"

namespace AutoFan {

const std::array<const char*, 8> kControlEntries = {
    "Remote1",           "Local",      "Remote2", "Full Speed", "Disabled", "Max of Local/Remote2",
    "Max of 3 Channels", "Manual Mode"};
const std::array<const char*, 8> kAltControlEntries = {"PECI0",    "PECI1",
                                                       "PECI2",    "PECI3",
                                                       "Reserved", "Fastest of 4 PECI Channels",
                                                       "Reserved", "Fastest of all thermal zones"};
const std::array<const char*, 16> kTrangeEntries = {
    "2°C",    "2.5°C", "3.3°C", "4°C",    "5°C",  "6.7°C", "8°C",    "10°C",
    "13.3°C", "16°C",  "20°C",  "26.7°C", "32°C", "40°C",  "53.3°C", "80°C"};
const std::array<const char*, 2> kSpeedOnThermEntries = {"Fans go to 100% on THERM Event",
                                                         "Fans go to Max Speed on THERM Event"};

namespace {

enum Source { kRemote1, kLocal, kRemote2, kPeci0, kPeci1, kPeci2, kPeci3 };

const std::array<std::vector<Source>, 8> kControlSources = {{{kRemote1},
                                                             {kLocal},
                                                             {kRemote2},
                                                             {},
                                                             {},
                                                             {kLocal, kRemote2},
                                                             {kLocal, kRemote1, kRemote2},
                                                             {}}};
const std::array<std::vector<Source>, 8> kAltControlSources = {
    {{kPeci0},
     {kPeci1},
     {kPeci2},
     {kPeci3},
     {},
     {kPeci0, kPeci1, kPeci2, kPeci3},
     {},
     {kLocal, kRemote1, kRemote2, kPeci0, kPeci1, kPeci2, kPeci3}}};

int16_t TypeOf(Source s) {
    switch (s) {
        case kRemote1:
            return 1;
        case kLocal:
            return 2;
        case kRemote2:
            return 3;
        default:
            return 4;
    }
}

const char* NameOf(Source s) {
    static const std::array<const char*, 7> names = {"Remote1", "Local", "Remote2", "PECI0",
                                                     "PECI1",   "PECI2", "PECI3"};
    return names[s];
}

}  // namespace

int16_t FieldNumber(const std::string& text) {
    return static_cast<int16_t>(
        Numbers::Saturate(Numbers::TypedWholeNumber(text), INT16_MIN, INT16_MAX));
}

void ClearAFCRecords(AFCSettings& settings) {
    settings.ThermFullSpeed = false;
    for (AFCRecord& record : settings.Records) record = AFCRecord{};
}

void GatherAFCSettings(const AFCControls& controls, AFCSettings& settings) {
    ClearAFCRecords(settings);
    settings.ThermFullSpeed = controls.speedOnTherm == kSpeedOnThermEntries[0];
    for (int p = 0; p < kOutputs; ++p) {
        AFCRecord& record = settings.Records[p];
        const OutputControls& output = controls.outputs[p];
        record.AlwaysOn = output.alwaysOn;
        record.MinPWM = FieldNumber(output.minPwm);
        record.MaxPWM = FieldNumber(output.maxPwm);
        record.AltControl = output.altVisible;
        ResolveControlSources(controls, record, p);
    }
}

void ResolveControlSources(const AFCControls& controls, AFCRecord& record, int p) {
    const auto& entries = record.AltControl ? kAltControlEntries : kControlEntries;
    const auto& table = record.AltControl ? kAltControlSources : kControlSources;
    const std::string& shown = controls.outputs[p].controlText;
    for (size_t j = 0; j < entries.size(); ++j) {
        if (shown != entries[j]) continue;
        int16_t k = 0;
        for (Source source : table[j]) {
            record.Sources[k].Type = TypeOf(source);
            record.Sources[k].Name = NameOf(source);
            LoadSourceLimits(controls, record, k);
            ++k;
        }
        record.NumSources = k;
        return;
    }
}

void LoadSourceLimits(const AFCControls& controls, AFCRecord& record, int k) {
    AFCSource& source = record.Sources[k];
    int ch = source.Type - 1;
    if (ch > 3) ch = 3;  // every PECI source reads the one PECI tab
    if (ch < 0) return;
    const ChannelControls& tab = controls.channels[ch];
    source.THERM = FieldNumber(tab.therm);
    source.Tmin = FieldNumber(tab.tmin);
    source.TminHyst = FieldNumber(tab.tminHyst);
    source.Trange = FieldNumber(tab.trange);
}

GraphScale GraphScaleFor(bool altTicked, bool altShowsAllZones) {
    if (!altTicked) return {150, 130};
    if (altShowsAllZones) return {260, 130};
    return {140, 20};
}

}  // namespace AutoFan
