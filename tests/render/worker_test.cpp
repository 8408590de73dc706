// The command hand-shake of the worker thread.
#include <gtest/gtest.h>

#include <vector>

#include "Render/Worker.h"

namespace {

using namespace Render;

// Records every command; an event lets a test hold the thread "inside a step".
class RecordingWorker : public Worker {
public:
    ~RecordingWorker() override { SendCommand(CommandQuit); }
    std::vector<uint32_t> taken;
    std::vector<uint32_t> arguments;
    HANDLE stepGate = CreateEventW(nullptr, TRUE, TRUE, nullptr);
    volatile LONG steps = 0;

protected:
    uint32_t Run() override {
        DWORD timeout = INFINITE;
        for (;;) {
            uint32_t command = 0, argument = 0;
            if (!GetCommand(timeout, &command, &argument)) {
                WaitForSingleObject(stepGate, INFINITE);  // one "acquisition step"
                InterlockedIncrement(&steps);
                continue;
            }
            taken.push_back(command);
            arguments.push_back(argument);
            if (command == CommandQuit) return 7;
            timeout = command == CommandRun ? 0 : INFINITE;
        }
    }
};

TEST(Worker, WithoutThreadCommandsSucceedAtOnce) {
    RecordingWorker worker;
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_TRUE(worker.SendCommand(CommandQuit));
    EXPECT_TRUE(worker.SendCommand(CommandRun));
    EXPECT_TRUE(worker.taken.empty());
}

TEST(Worker, CommandsArriveInOrderWithTheirArguments) {
    RecordingWorker worker;
    ASSERT_NE(worker.Start(), nullptr);
    EXPECT_TRUE(worker.SendCommand(CommandPause, INFINITE, 11));
    EXPECT_TRUE(worker.SendCommand(CommandReloadRange, INFINITE, 12));
    EXPECT_TRUE(worker.SendCommand(9, INFINITE, 13));
    EXPECT_EQ(worker.CurrentCommand(), 9u);
    EXPECT_TRUE(worker.SendCommand(CommandQuit));  // joins the thread
    EXPECT_FALSE(worker.IsRunning());
    EXPECT_EQ(worker.taken, (std::vector<uint32_t>{CommandPause, CommandReloadRange, 9, CommandQuit}));
    EXPECT_EQ(worker.arguments, (std::vector<uint32_t>{11, 12, 13, 0}));
}

TEST(Worker, ACommandDuringAStepIsTakenAtTheNextWait) {
    RecordingWorker worker;
    worker.Start();
    ASSERT_TRUE(worker.SendCommand(CommandRun));
    while (worker.steps == 0) Sleep(1);
    ResetEvent(worker.stepGate);  // the next step blocks
    const LONG before = worker.steps;
    HANDLE releaser = CreateThread(
        nullptr, 0,
        [](void* gate) -> DWORD {
            Sleep(50);
            SetEvent(static_cast<HANDLE>(gate));
            return 0;
        },
        worker.stepGate, 0, nullptr);
    EXPECT_TRUE(worker.SendCommand(CommandPause));  // waits until the step ends
    EXPECT_GT(worker.steps, before);
    WaitForSingleObject(releaser, INFINITE);
    CloseHandle(releaser);
    ASSERT_TRUE(worker.SendCommand(CommandQuit));  // joins the thread: its records are complete
    EXPECT_EQ(worker.taken, (std::vector<uint32_t>{CommandRun, CommandPause, CommandQuit}));
}

TEST(Worker, AnEndedThreadIsForgotten) {
    RecordingWorker worker;
    worker.Start();
    ASSERT_TRUE(worker.SendCommand(CommandQuit));
    EXPECT_FALSE(worker.IsRunning());
    // Restarting after a quit gives a fresh thread.
    ASSERT_NE(worker.Start(), nullptr);
    EXPECT_TRUE(worker.SendCommand(CommandStop));
    EXPECT_TRUE(worker.IsRunning());
}

// Takes one command and returns, as an export thread does after its last frame.
class OneShotWorker : public Worker {
public:
    ~OneShotWorker() override { SendCommand(CommandQuit); }
    volatile LONG runs = 0;

protected:
    uint32_t Run() override {
        uint32_t command = 0;
        GetCommand(INFINITE, &command);
        InterlockedIncrement(&runs);
        return 0;
    }
};

TEST(Worker, AThreadThatEndedByItselfIsReplacedOnTheNextStart) {
    OneShotWorker worker;
    for (LONG round = 1; round <= 3; ++round) {
        ASSERT_NE(worker.Start(), nullptr);
        ASSERT_TRUE(worker.SendCommand(CommandRun));
        while (worker.IsRunning()) Sleep(1);
        EXPECT_EQ(worker.runs, round);
    }
    // No thread is left to take this one: it is refused, not waited for.
    EXPECT_FALSE(worker.SendCommand(CommandRun));
}

TEST(Worker, ThousandsOfCommandsAgainstARunningLoopFinish) {
    RecordingWorker worker;
    worker.Start();
    for (int i = 0; i < 5000; ++i) ASSERT_TRUE(worker.SendCommand(i % 3 == 0 ? CommandRun : CommandPause));
    ASSERT_TRUE(worker.SendCommand(CommandQuit));
    EXPECT_EQ(worker.taken.size(), 5001u);
}

}  // namespace
