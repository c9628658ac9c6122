// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/WritePaths.h"

#include "edit/FieldRule.h"
#include "edit/FieldWriteBack.h"
#include "edit/MapProtection.h"
#include "session/TextEditApply.h"

namespace quorin::testing {

namespace {

Status ShowFixtureRecords(MapState& map) {
    map.LoadedScript = map.recordAt(0);
    map.LoadedGlobal = map.recordAt(1);
    map.LoadedSyntax = map.recordAt(1);
    return success();
}

// A value that changes the field on every fixture record.
Status CommitChanging(MapState& map, const FieldRule& rule, WriteHistory* history) {
    switch (rule.text) {
        case FieldText::Bytes: return CommitField(map, rule.field, "renamed", history);
        case FieldText::Decimal: return CommitField(map, rule.field, "-2", history);
        case FieldText::Hexadecimal: return CommitField(map, rule.field, "1A2B", history);
        case FieldText::ItemIndex: return CommitPopup(map, rule.field, 3, history);
    }
    return success();
}

}  // namespace

TextPlan ChangedScriptText(const MapState& map) {
    const TextRecord script{RecordKind::Script, 0};
    const PartedText text = RecordText(map, script);
    std::vector<EditedToken> tokens;
    for (std::size_t i = 0; i < text.parts().size(); ++i) {
        const TextPart& part = text.parts()[i];
        if (!IsToken(part.kind)) continue;
        std::string token(text.bytesOf(part));
        if (part.kind == PartKind::ScriptName) token = token == "applied" ? "applied again" : "applied";
        if (part.kind == PartKind::ScriptType) {
            token = token == "startup" ? "continuous" : token == "continuous" ? "startup" : token == "stub" ? "static" : "stub";
        }
        tokens.push_back({i, part.from, token});
    }
    return PlanTextEdit(map, script, text, tokens);
}

const std::vector<WritePath>& EveryWritePath() {
    static const std::vector<WritePath> paths = [] {
        std::vector<WritePath> all;
        const auto show = [](MapState& map, WriteHistory&) { return ShowFixtureRecords(map); };
        for (const FieldRule& rule : FieldRules()) {
            all.push_back({std::string(rule.control), show, [&rule](MapState& map, WriteHistory& history) {
                               return CommitChanging(map, rule, &history);
                           }});
        }
        // Script 0's text with its name and type changed, as one apply.
        all.push_back({"ApplyText", show, [](MapState& map, WriteHistory& history) {
                           return ApplyTextPlan(map, ChangedScriptText(map), &history);
                       }});
        all.push_back({"ProtectMap", show, [](MapState& map, WriteHistory& history) { return ProtectScripts(map, &history); }});
        all.push_back({"UndoLastWrite",
                       [](MapState& map, WriteHistory& history) {
                           (void)ShowFixtureRecords(map);
                           return CommitField(map, EditField::ScriptExpPointer, "5", &history);
                       },
                       [](MapState& map, WriteHistory& history) -> Status {
                           auto undone = history.undo(map);
                           if (!undone) return undone.error();
                           return success();
                       }});
        all.push_back({"RedoWrite",
                       [](MapState& map, WriteHistory& history) -> Status {
                           (void)ShowFixtureRecords(map);
                           if (auto written = CommitField(map, EditField::SyntaxExpIdent, "300", &history); !written) {
                               return written;
                           }
                           auto undone = history.undo(map);
                           if (!undone) return undone.error();
                           return success();
                       },
                       [](MapState& map, WriteHistory& history) -> Status {
                           auto redone = history.redo(map);
                           if (!redone) return redone.error();
                           return success();
                       }});
        return all;
    }();
    return paths;
}

}  // namespace quorin::testing
