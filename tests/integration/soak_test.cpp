// Hundreds of reads, writes and verifies through the whole stack (connection, unlock, driver, lock)
// against simulated units that misbehave at random: replies dropped, rotated or corrupted, requests
// refused, a unit that falls silent, a unit switched off in the middle. Whatever happens, nothing
// may crash, an operation that reports success must have done what it says (checked against the
// unit's memory afterwards, on a healthy unit loaded with it), and a unit still listening ends
// locked. qeltoctl itself is stopped by SIGTERM and SIGHUP at random moments too, and every unit
// must end locked. QELTO_SOAK_OPERATIONS, QELTO_SOAK_STOPS and QELTO_SOAK_SEED change the run;
// failures print the seed.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <nlohmann/json.hpp>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "comms/operation_driver.h"
#include "comms/scripted_prompts.h"
#include "comms/unit_session.h"
#include "model/prog_data.h"
#include "model/qelto_doc.h"
#include "support/sim_process.h"
#include "support/test_env.h"
#include "support/unit_memory.h"

namespace qelto::test {
namespace {

using nlohmann::json;
using namespace std::chrono_literals;

enum class Fault { None, Drop, Corrupt, Rotate, Nak, Silent, Killed };

const char* faultName(Fault fault) {
    constexpr std::array<const char*, 7> kNames{"none", "drop",   "corrupt", "rotate",
                                                "nak",  "silent", "killed"};
    return kNames.at(static_cast<std::size_t>(fault));
}

// A unit that stops listening cannot be locked; every other one must be.
bool unitStaysReachable(Fault fault) {
    return fault != Fault::Silent && fault != Fault::Killed;
}

enum class Kind { Read, Write, Verify };

std::uint64_t envNumber(const char* name, std::uint64_t fallback) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0' ? std::strtoull(value, nullptr, 10) : fallback;
}

class Soak {
  public:
    explicit Soak(std::uint64_t seed) : random_(seed) { doc_.onNewDocument(); }

    // A unit and a document that agree, to change from.
    void prepare() {
        memory_ = unitMemory();
        memory_.erase("clock");  // the PC's clock would make every dump differ
        ScriptedPrompts prompts;
        prompts.options = comms::allOptions();
        prompts.options->bAppendComments = false;
        const auto outcome = run(Kind::Read, Fault::None, prompts, memory_);
        ASSERT_TRUE(outcome.has_value());
        ASSERT_EQ(outcome->closingMessage, comms::kMsgReadDone);
    }

    // One operation under one fault; false (with a failure recorded) when it lied.
    void step(int index) {
        const Fault fault = static_cast<Fault>(pick(0, 6));
        const Kind kind = static_cast<Kind>(pick(0, 2));
        changeDocument();
        ScriptedPrompts prompts;
        prompts.options = randomOptions();
        prompts.calibrationChoice =
            pick(0, 1) == 0 ? comms::kChooseEditorCalibration : comms::kChooseUnitCalibration;
        prompts.yes = false;
        const comms::Options chosen = *prompts.options;
        json after;
        const auto result = run(kind, fault, prompts, memory_, &after);
        SCOPED_TRACE(::testing::Message()
                     << "operation " << index << ": kind " << static_cast<int>(kind) << ", fault "
                     << faultName(fault));
        ++counts_[static_cast<std::size_t>(fault)];
        if (!result) {
            return;  // no connection or no unlock: nothing ran, nothing was claimed
        }
        if (!after.is_null()) {
            if (unitStaysReachable(fault)) {
                EXPECT_TRUE(after.value("locked", false)) << "the unit was left unlocked";
            }
            memory_ = after;
            memory_.erase("locked");
            memory_.erase("kind");
            memory_.erase("pumpRuns");
            memory_.erase("clock");
        }
        const bool claimedSuccess = result->status == comms::OperationStatus::Ok &&
                                    (result->closingMessage == comms::kMsgReadDone ||
                                     result->closingMessage == comms::kMsgWriteDone ||
                                     result->closingMessage == comms::kMsgVerifyMatched);
        if (!claimedSuccess || kind == Kind::Verify || after.is_null()) {
            successes_ += claimedSuccess ? 1 : 0;
            return;
        }
        ++successes_;
        // What a successful read or write claims: the document and the unit now agree on every
        // part it moved. A healthy unit loaded with the faulty one's memory tells.
        comms::Options compare = chosen;
        compare.bComments = compare.bComments && !compare.bAppendComments;
        ScriptedPrompts verifier;
        verifier.options = compare;
        const auto check = run(Kind::Verify, Fault::None, verifier, memory_);
        ASSERT_TRUE(check.has_value());
        EXPECT_EQ(check->closingMessage, comms::kMsgVerifyMatched)
            << "reported success, but the unit and the document differ in "
            << (check->differences.empty()
                    ? std::string("?")
                    : check->differences.front().field + ": unit " +
                          check->differences.front().unitValue + ", document " +
                          check->differences.front().documentValue);
    }

    std::array<int, 7> counts_{};
    int successes_ = 0;

  private:
    int pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    comms::Options randomOptions() {
        comms::Options o;
        o.bPumpNames = pick(0, 1) == 1;
        o.bProgNames = pick(0, 1) == 1;
        o.bPumpCal = pick(0, 1) == 1;
        o.bPumpData = pick(0, 1) == 1;
        o.bComments = pick(0, 1) == 1;
        o.bAppendComments = pick(0, 3) == 0;
        o.bDescription = pick(0, 1) == 1;
        return o;
    }

    // Something an engineer would edit, so writes have something to move.
    void changeDocument() {
        model::CProgData& c = doc_.config();
        const auto n = static_cast<std::size_t>(pick(0, 1));
        const std::string name = "Soak " + std::to_string(pick(0, 999));
        c.progName[n] = name;
        c.pumpName[n] = name;
    }

    std::vector<std::string> faultOptions(Fault fault) {
        switch (fault) {
            case Fault::Drop:
                return {"--drop-every", std::to_string(pick(3, 9))};
            case Fault::Corrupt:
                return {"--corrupt-every", std::to_string(pick(3, 9))};
            case Fault::Rotate:
                return {"--rotate-every",
                        std::to_string(pick(3, 9)) + ":" + std::to_string(pick(1, 30))};
            case Fault::Nak:
                return {"--nak-every", std::to_string(pick(3, 9))};
            case Fault::Silent:
                return {"--silent-after", std::to_string(pick(2, 60))};
            default:
                return {};
        }
    }

    // One operation through a fresh connection to a unit holding memory; after receives the
    // unit's memory once it has stopped (null when it was switched off and kept nothing). The
    // operations under test wait only briefly for each reply, so that hundreds of them fit in
    // a test run; a machine busy with other work then misses replies too, which is one more
    // fault. The reads that set up and judge (after == nullptr) wait as long as a real
    // engineer's link does, so the judge itself never fails for a reply that came late.
    std::optional<comms::OperationResult> run(Kind kind, Fault fault, ScriptedPrompts& prompts,
                                              const json& memory, json* after = nullptr) {
        const auto unit =
            SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, memory, faultOptions(fault));
        SimProcess& sim = *unit;
        std::thread killer;
        if (fault == Fault::Killed) {
            const auto delay = std::chrono::milliseconds(pick(0, 150));
            killer = std::thread([&sim, delay] {
                std::this_thread::sleep_for(delay);
                ::kill(sim.pid(), SIGKILL);
            });
        }
        comms::UnitSession session([](int id) { return std::to_string(id); });
        comms::SessionSettings settings;
        settings.replyTimeout = after != nullptr ? 25ms : 3000ms;
        session.configure(settings);
        comms::UnitChoice choice;
        choice.link.port = sim.portPath();
        std::optional<comms::OperationResult> result;
        prompts.pin = 1234;
        const comms::SessionOutcome outcome =
            session.run(choice, doc_, prompts, [kind](comms::OperationContext& context) {
                context.sleep = [](std::chrono::milliseconds) {};
                bool clockOnly = false;
                switch (kind) {
                    case Kind::Read:
                        return comms::readProgram(context, clockOnly);
                    case Kind::Write:
                        return comms::writeProgram(context, clockOnly);
                    case Kind::Verify:
                        break;
                }
                return comms::verifyProgram(context);
            });
        if (outcome.end == comms::SessionEnd::Ran) {
            result = outcome.result;
        }
        if (killer.joinable()) {
            killer.join();
        }
        const json dumped = sim.stopAndDump();
        if (after != nullptr) {
            *after = dumped;
        }
        return result;
    }

    std::mt19937_64 random_;
    json memory_;
    model::CProgData config_;
    model::NoPumpNameDefaults pumpDefaults_;
    model::CQeltoDoc doc_{config_, pumpDefaults_};
};

TEST(Soak, OperationsUnderRandomFaultsNeverClaimWhatDidNotHappen) {
    const std::uint64_t seed = envNumber("QELTO_SOAK_SEED", std::random_device{}());
    const auto operations = static_cast<int>(envNumber("QELTO_SOAK_OPERATIONS", 200));
    SCOPED_TRACE(::testing::Message() << "QELTO_SOAK_SEED=" << seed);
    Soak soak(seed);
    ASSERT_NO_FATAL_FAILURE(soak.prepare());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < operations && !::testing::Test::HasFatalFailure(); ++i) {
        soak.step(i);
    }
    const auto seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("soak: %d operations in %.1f s, %d reported success; seed %llu; faults", operations,
                seconds, soak.successes_, static_cast<unsigned long long>(seed));
    for (int f = 0; f < 7; ++f) {
        std::printf(" %s %d", faultName(static_cast<Fault>(f)),
                    soak.counts_[static_cast<std::size_t>(f)]);
    }
    std::printf("\n");
}

// qeltoctl stopped part-way through a write or read, as `timeout` or a closed SSH session stops it:
// whenever the signal comes (before the unlock, in the middle of the settings, at the lock), the
// unit ends locked, and qeltoctl either finished or says it was stopped.
TEST(Soak, QeltoctlStoppedAtAnyMomentLeavesTheUnitLocked) {
    const std::uint64_t seed = envNumber("QELTO_SOAK_SEED", std::random_device{}());
    const auto rounds = static_cast<int>(envNumber("QELTO_SOAK_STOPS", 24));
    SCOPED_TRACE(::testing::Message() << "QELTO_SOAK_SEED=" << seed);
    std::mt19937_64 random(seed);
    const auto pick = [&random](int low, int high) {
        return std::uniform_int_distribution<int>(low, high)(random);
    };
    model::CProgData config;
    model::NoPumpNameDefaults names;
    model::CQeltoDoc document(config, names);
    document.onNewDocument();
    config.progName[0] = "Soak";
    const auto file = testDir() / "soak.qlf";
    ASSERT_TRUE(document.onSaveDocument(file).ok);

    for (int round = 0; round < rounds; ++round) {
        const int signal = pick(0, 1) == 0 ? SIGTERM : SIGHUP;
        const int delayMs = pick(0, 1500);
        const bool write = pick(0, 2) != 0;
        SCOPED_TRACE(::testing::Message()
                     << "round " << round << ": " << (write ? "write" : "read") << ", "
                     << strsignal(signal) << " after " << delayMs << " ms");
        const auto sim = SimProcess::withMemory(testDir(), QELTO_UNITSIM_PATH, unitMemory());
        std::vector<std::string> args{QELTOCTL_PATH};
        if (write) {
            args.insert(args.end(), {"write", file.string(), "--verify"});
        } else {
            args.insert(args.end(), {"read", "--out", (testDir() / "read.qlf").string()});
        }
        args.insert(args.end(), {"--port", sim->portPath(), "--pin", "1234"});
        StartedProcess qeltoctl(args);
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(qeltoctl.pid(), signal);
        const int exitCode = qeltoctl.wait();
        EXPECT_TRUE(exitCode == 0 || exitCode == 128 + signal)
            << "exit " << exitCode << ": " << qeltoctl.err();
        const json unit = sim->stopAndDump();
        ASSERT_FALSE(unit.is_null());
        EXPECT_TRUE(unit.value("locked", false))
            << "the unit was left unlocked: " << qeltoctl.err();
    }
}

// A save killed at any moment leaves either the old document or the new one, whole.
TEST(Soak, ASaveKilledAtAnyPointLeavesAWholeDocument) {
    model::CProgData configA;
    model::NoPumpNameDefaults names;
    model::CQeltoDoc a(configA, names);
    a.onNewDocument();
    model::setText(a.config().customerName1, "Laundry A");
    const auto bytesA = a.storeToBytes();
    model::CProgData configB;
    model::CQeltoDoc b(configB, names);
    b.onNewDocument();
    model::setText(b.config().customerName1, "Laundry B");
    const auto bytesB = b.storeToBytes();
    ASSERT_NE(bytesA, bytesB);

    const auto path = testDir() / "unit.qlf";
    ASSERT_TRUE(a.onSaveDocument(path).ok);
    std::mt19937 random(envNumber("QELTO_SOAK_SEED", 7));
    for (int round = 0; round < 60; ++round) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            for (int i = 0;; ++i) {
                (i % 2 == 0 ? b : a).onSaveDocument(path);
            }
        }
        std::this_thread::sleep_for(
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random)));
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);
        const std::string text = readFile(path);
        const std::vector<std::uint8_t> bytes(text.begin(), text.end());
        EXPECT_TRUE(bytes == bytesA || bytes == bytesB) << "round " << round << ": a torn file";
    }
}

}  // namespace
}  // namespace qelto::test
