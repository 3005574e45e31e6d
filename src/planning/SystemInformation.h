#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace qpx::planning {

inline constexpr std::string_view kSystemInformationTitle = "System Information";

// The three drop-down lists, entries in list order (the index of an entry is its position).
inline constexpr int kFrequencyListId = 1018;
inline constexpr int kRecorderSizeListId = 1019;
inline constexpr int kWavesOptionListId = 1020;
inline constexpr std::string_view kFrequencyListLabel = "System Frequency";
inline constexpr std::string_view kRecorderSizeListLabel = "Recorder Size:";
inline constexpr std::string_view kWavesOptionListLabel = "Waves Option:";
// The frequency list is FrequencyIndex 0..6; 125 kHz (7) is not offered.
inline constexpr std::array<std::string_view, 7> kFrequencyEntries{
    "3000 kHz", "1500 kHz", "750 kHz", "500 kHz", "250 kHz", "1000 kHz", "5000 kHz"};
inline constexpr std::array<std::string_view, 10> kRecorderSizeEntries{
    "   5 MB", " 10 MB", " 20 MB", " 32 MB", " 40 MB",
    " 85 MB",  "192 MB", "340 MB", "660 MB", "880 MB"};
inline constexpr std::array<std::string_view, 3> kWavesOptionEntries{"None", "Non-Directional",
                                                                     "Directional"};

// Megabytes of a recorder-size list position; any other position gives 32 MB.
int RecorderSizeMegabytes(int recorderIndex);
// The planning recorder size in bytes: megabytes x 1,048,576 (880 MB still fits 32 bits).
std::int32_t RecorderSizeBytes(int megabytes);

// The frequency list's position of a frequency in kHz (1500 -> 1); nothing for one the list
// does not offer. A plan file or the command line names its system by these.
std::optional<int> FrequencyIndexOfKhz(int kilohertz);
// Whether the recorder-size list offers a size of `megabytes`.
bool OfferedRecorderSize(int megabytes);

// What OK hands on: the instrument the user described.
struct SystemChoice {
    int frequencyIndex = 1;
    int recorderSizeMegabytes = 5;
    int wavesOption = 0;

    friend bool operator==(const SystemChoice&, const SystemChoice&) = default;
};

// Model of the SystemInformationDialog (template 135): three selections, read on OK. The lists
// allow only valid choices; a selection outside a list (which no list can send) is ignored, except
// that the recorder position follows the size table's own fallback.
class SystemInformation {
public:
    int frequencyIndex() const { return frequencyIndex_; }
    int recorderIndex() const { return recorderIndex_; }
    int wavesIndex() const { return wavesIndex_; }

    void frequencySelected(int index);
    void recorderSelected(int index);
    void wavesSelected(int index);

    // OK: the three selections, the recorder position converted to megabytes.
    SystemChoice accept() const;

private:
    int frequencyIndex_ = 1; // "1500 kHz"
    int recorderIndex_ = 0;  // "   5 MB"
    int wavesIndex_ = 0;     // "None"
};

} // namespace qpx::planning
