// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/PatchRun.h"

#include <cstdlib>
#include <filesystem>

#include "support/CliRun.h"
#include "support/TempMap.h"

namespace quorin::testing {

namespace {

void WriteText(const std::string& path, const std::string& text) { WriteBytes(path, {text.begin(), text.end()}); }

std::optional<std::string> ReadText(const std::string& path) {
    if (!std::filesystem::exists(path)) return std::nullopt;
    const std::vector<std::uint8_t> bytes = ReadBytes(path);
    return std::string(bytes.begin(), bytes.end());
}

}  // namespace

std::vector<PatchOutcome> ApplyWithPatch(const std::vector<PatchJob>& jobs) {
    TempDir dir;
    std::string script = "cd " + ShellQuoted(dir.path("")) + " || exit 1\n";
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const std::string n = std::to_string(i);
        WriteText(dir.path("old" + n), jobs[i].oldText);
        WriteText(dir.path("section" + n), jobs[i].section);
        // -f: no questions (a section may look reversed); -F0: no fuzz.
        script += "patch -f -F0 --no-backup-if-mismatch -o new" + n + " old" + n + " section" + n + " >said" + n +
                  " 2>&1 </dev/null; echo $? >status" + n + "\n";
    }
    WriteText(dir.path("run.sh"), script);
    const int ran = std::system(("sh " + ShellQuoted(dir.path("run.sh"))).c_str());
    std::vector<PatchOutcome> outcomes(jobs.size());
    if (ran != 0) {
        for (PatchOutcome& outcome : outcomes) outcome.why = "the shell did not run";
        return outcomes;
    }
    for (std::size_t i = 0; i < jobs.size(); ++i) {
        const std::string n = std::to_string(i);
        PatchOutcome& outcome = outcomes[i];
        outcome.why = ReadText(dir.path("said" + n)).value_or("");
        const bool succeeded = ReadText(dir.path("status" + n)).value_or("") == "0\n";
        const bool elsewhere = outcome.why.find("offset") != std::string::npos ||
                               outcome.why.find("fuzz") != std::string::npos;
        if (succeeded && !elsewhere) outcome.text = ReadText(dir.path("new" + n));
    }
    return outcomes;
}

}  // namespace quorin::testing
