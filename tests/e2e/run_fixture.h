// The fixture of the end-to-end tests: a fresh desktop and product folder in the run's prefix, one
// run of the build under test, and what its two shortcuts should hold.
#ifndef ORVO_TESTS_E2E_RUN_FIXTURE_H
#define ORVO_TESTS_E2E_RUN_FIXTURE_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/harness.h"
#include "support/link_reader.h"

inline const char kLinkName[] = "Orvo Recorder.pif";

// A fresh desktop and product folder for each case.
class RunTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        prefix = &CurrentPrefix();
        RemoveTree(prefix->Desktop());
        MakeDirectories(prefix->Desktop());
        product = prefix->DriveC() + "/Orvo";
        RemoveTree(product);
        MakeDirectories(product);
    }

    Command CommandIn(const std::string &directory, const std::vector<std::string> &arguments = {}) const
    {
        Command command;
        command.argv = CommandLine(CurrentBuild().program, arguments);
        command.directory = directory;
        command.environment = prefix->Environment();
        return command;
    }

    // Runs to the end. By default, with trace off, standard input is a pipe that holds a key and stays
    // open, and must still hold it afterwards; with trace on, it is at its end, which ends each pause
    // at once.
    ProcessResult Run(const Command &command) { return Run(command, kTraceBuild ? Input::AtEnd : Input::HeldOpen); }

    ProcessResult Run(const Command &command, Input input)
    {
        std::string unread;
        ProcessResult result = RunToEnd(command, input, "k\n", &unread);
        EXPECT_FALSE(result.timedOut);
        if (input == Input::HeldOpen) {
            EXPECT_EQ(unread, "k\n") << "standard input was read with trace off";
        }
        return result;
    }

    // What every reader should find in the link made in directory (Windows form).
    static LinkReading LinkFor(const std::string &directory)
    {
        LinkReading reading;
        reading.opened = true;
        reading.localPath = NormalisedTarget(directory + "\\recorder.bat");
        reading.description = kLinkName;
        reading.iconLocation = directory + "\\vandrel.ico";
        reading.iconIndex = 0;
        return reading;
    }

    static std::string UrlFor(const std::string &directory)
    {
        std::string page = directory + "\\QirPlayer.html";
        for (char &c : page) {
            if (c == '\\') {
                c = '/';
            }
        }
        return "[InternetShortcut]\r\nURL=file://" + InAnsi(page);
    }

    void ExpectBothShortcuts(const std::string &directory)
    {
        EXPECT_EQ(ReadLinkWithLiblnk(LinkFileOf(prefix->Desktop())), LinkFor(directory));
        ASSERT_TRUE(Exists(UrlFileOf(prefix->Desktop())));
        EXPECT_EQ(ReadFile(UrlFileOf(prefix->Desktop())), UrlFor(directory));
    }

public:
    Prefix *prefix = nullptr;
    std::string product;
};

#endif
