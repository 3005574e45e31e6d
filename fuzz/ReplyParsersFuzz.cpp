#include "fuzz/Harnesses.h"
#include "fuzz/support/FuzzInput.h"
#include "fuzz/support/ReplayDevice.h"
#include "instrument/PcQpxSettings.h"
#include "instrument/PcQpxTransmit.h"
#include "instrument/SystemTimeDialogModel.h"
#include "link/CalendarMath.h"
#include "link/Port.h"
#include "link/PortFunctions.h"
#include "link/ProgressView.h"
#include "link/WakeAndIdentify.h"
#include "model/OperationConfiguration.h"
#include "model/UserSetup.h"
#include "operations/ClockSync.h"
#include "operations/ConnectedSetup.h"
#include "operations/Recorder.h"
#include "planning/DefaultStructures.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

namespace qpx::fuzz {
namespace {

// One replayed instrument and everything an exchange with it needs.
struct Session {
    Session(std::span<const std::uint8_t> script, std::vector<std::string_view> messages,
            const std::string& stopEchoAfter = {})
        : segments(SplitSegments(script)), sink(std::move(messages)) {
        auto replay = std::make_unique<ReplayDevice>(clock, segments);
        replay->stopEchoAfterLine = stopEchoAfter;
        device = replay.get();
        port = std::make_unique<link::Port>(std::move(replay), clock);
        link = std::make_unique<link::Link>(link::Link{*port, sink, std::nullopt});
    }

    bool sent(std::string_view text) const {
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        return sent(std::span<const std::uint8_t>(bytes));
    }
    // Searched in everything the instrument sent, as one stream: a banner may arrive split
    // across answers ("S", then "DI-12 In>") and the wake-up keeps all of it.
    bool sent(std::span<const std::uint8_t> bytes) const {
        std::vector<std::uint8_t> stream;
        for (const auto& segment : segments) {
            stream.insert(stream.end(), segment.begin(), segment.end());
        }
        return std::search(stream.begin(), stream.end(), bytes.begin(), bytes.end()) !=
               stream.end();
    }

    std::vector<std::vector<std::uint8_t>> segments;
    link::VirtualClock clock;
    ExpectedMessages sink;
    ReplayDevice* device = nullptr;
    std::unique_ptr<link::Port> port;
    std::unique_ptr<link::Link> link;
};

class RecordingViews final : public link::ProgressViewFactory {
public:
    std::unique_ptr<link::ProgressView> open() override {
        return std::make_unique<link::RecordingProgressView>();
    }
};

void CheckCalendar(const link::CalendarTime& t) {
    Require(t.month >= 1 && t.month <= 12 && t.day >= 1 && t.day <= 31 && t.hour >= 0 &&
                t.hour <= 23 && t.minute >= 0 && t.minute <= 59 && t.second >= 0 && t.second <= 59,
            "a calendar time outside its ranges");
}

void WakeUp(std::span<const std::uint8_t> script) {
    Session session(script, LinkMessages());
    const int type = link::WakeAndIdentify(*session.link);
    Require((type >= 2 && type <= 8) || (type >= -6 && type <= -1), "an unknown system type");
    // Each answer names what the version text held: QPX is tested first, so a QPX text wins.
    if (type == link::kSystemQpx) {
        Require(session.sent("QPX"), "QPX found in a reply without it");
    }
    if (type == link::kSystemMerovane) {
        Require(session.sent("MRV"), "Merovane found in a reply without it");
    }
    if (type == link::kSystemSdi12) {
        Require(session.sent("SDI-12"), "SDI-12 found in a reply without it");
    }
}

void WavesOption(std::span<const std::uint8_t> script) {
    const std::string text(script.begin(), script.end());
    const int option = operations::DecodeWavesOption(text);
    Require(option >= 0 && option <= 2, "a waves option outside 0 to 2");
    if (option == 2) {
        Require(operations::DecodeWavesOption(text + " YES") == 1, "YES does not win");
    }
    // The reply as it is read off the line: at most 79 characters, always terminated.
    Session session(script, LinkMessages());
    std::array<char, 80> buffer{};
    buffer.fill('\x7f');
    const int count = link::ReadStringTimed(*session.port, buffer.data(), 79, -2, 100);
    Require(count >= 0 && count <= 79 && buffer[static_cast<std::size_t>(count)] == '\0',
            "a reply read past its buffer or left unterminated");
}

void Clock(std::span<const std::uint8_t> script) {
    const std::string text(script.begin(), script.end());
    for (const char separator : {'/', ':'}) {
        if (const auto numbers = operations::ReadClockNumbers(text, "Current date is", separator)) {
            CheckCalendar(operations::NormalisedCalendarTime((*numbers)[0], (*numbers)[1],
                                                             (*numbers)[2], 12, 0, 0));
            CheckCalendar(operations::NormalisedCalendarTime(2001, 7, 4, (*numbers)[0],
                                                             (*numbers)[1], (*numbers)[2]));
        }
    }
    Session session(script, LinkMessages());
    const auto instrument = operations::ReadInstrumentClock(*session.link);
    if (!instrument) {
        return;
    }
    CheckCalendar(*instrument);
    const instrument::SystemTimeDialogModel dialog({2001, 7, 4, 9, 0, 0}, *instrument);
    for (const std::string* shown :
         {&dialog.computerTimeText(), &dialog.instrumentTimeText(), &dialog.differenceText()}) {
        Require(!ShowsNonNumber(*shown), "a clock text shows a non-number");
    }
    Require(dialog.differenceText().find('-') == std::string::npos,
            "the clock difference shows a sign");
}

void Format(std::span<const std::uint8_t> script) {
    Session session(script, LinkMessages());
    const bool formatted = operations::FormatRecorder(*session.link);
    if (formatted) {
        Require(session.sent("OK"), "formatted without an OK");
    }
    const auto& lines = session.device->lines();
    const auto answers = std::count(lines.begin(), lines.end(), std::string("yes"));
    Require(answers <= 100, "more answers than reads");
}

void PcQpxUpdate(std::span<const std::uint8_t> script, std::uint8_t selector) {
    std::vector<std::string_view> messages = LinkMessages();
    messages.push_back(instrument::kOperationReadBackFailed);
    Session session(script, messages);
    const int frequency = (selector >> 4) % 8;
    auto user = planning::MakeDefaultUserSetup(frequency);
    user.pulseCoherentMode = 1;
    instrument::PcQpxSettings settings((selector >> 3) & 1,
                                       planning::MakeDefaultSystemConfiguration(frequency), user,
                                       planning::MakeDefaultOperationConfiguration(frequency));
    // Values every frequency accepts, so that the update goes out and the replies are read.
    settings.pulseLengthChanged("0.5");
    settings.userPulseLagChanged("0.5");
    settings.userResLagChanged("0");
    RecordingViews views;
    const auto before = settings.operationConfiguration();
    const auto outcome = instrument::UpdatePcQpxSettings(settings, session.link.get(), views);
    if (outcome.value != instrument::PcQpxTransmitResult::Success) {
        Require(settings.operationConfiguration() == before,
                "a failed update changed the held configuration");
    } else if (settings.operationConfiguration() != before) {
        // What is read back came whole from the instrument: its bytes up to the first
        // conditional field stand in one frame.
        const auto wire = model::NarrowOperationConfiguration(settings.operationConfiguration());
        Require(session.sent(std::span<const std::uint8_t>(wire.data(), 47)),
                "a read-back configuration that the instrument never sent whole");
    }
    for (const int id :
         {instrument::kSystemLagId, instrument::kSystemResLagId, instrument::kMaxVerticalVelId,
          instrument::kMaxHorizontalVelId, instrument::kMinCorrLevelId}) {
        Require(!ShowsNonNumber(settings.text(id)), "the PC-QPX view shows inf or nan");
    }
}

void Download(std::span<const std::uint8_t> script, std::uint8_t selector) {
    std::vector<std::string_view> messages = LinkMessages();
    for (const std::string_view decoder : std::initializer_list<std::string_view>{
             "SystemConfiguration: %s", "UserSetup: %s", "OperationConfiguration: %s",
             operations::kOperFailedMessage}) {
        messages.push_back(decoder);
    }
    Session session(script, messages, "bdir");
    auto download = std::make_unique<operations::Download>();
    const bool done =
        operations::DownloadConfiguration(*session.link, nullptr, (selector >> 3) & 1, *download);
    if (done) {
        Require(download->inputs.wavesOption >= 0 && download->inputs.wavesOption <= 2,
                "a waves option outside 0 to 2");
        Require(download->inputs.system.systemFrequency < 8, "a frequency outside its tables");
        // The user setup is used as received: all 256 bytes of it came in one frame.
        const auto user = model::Encode(download->inputs.user);
        Require(session.sent(std::span<const std::uint8_t>(user)),
                "a user setup that the instrument never sent whole");
    } else {
        Require(!session.port->isOpen(), "a failed download left the port open");
    }
}

} // namespace

int ReplyParsersFuzz::FuzzOne(const std::uint8_t* data, std::size_t size) {
    if (size == 0) {
        return 0;
    }
    const std::span<const std::uint8_t> script(data + 1, size - 1);
    switch (data[0] % 6) {
    case 0:
        WakeUp(script);
        break;
    case 1:
        WavesOption(script);
        break;
    case 2:
        Clock(script);
        break;
    case 3:
        Format(script);
        break;
    case 4:
        PcQpxUpdate(script, data[0]);
        break;
    default:
        Download(script, data[0]);
        break;
    }
    return 0;
}

} // namespace qpx::fuzz
