// The writer's endings in words: "File Saved" with its count, or one "Error" box that says
// which file and that nothing was written.
#include "output/writeMessages.h"

WriteMessage writeMessage(const WriteReport& r) {
    const std::string keptOutput = "\n" + r.output + " is as it was: nothing was written.";
    switch (r.ending) {
    case WriteEnding::Saved: return {std::to_string(r.count) + " points written to " + r.output, "File Saved"};
    case WriteEnding::CantOpenInput: return {"Can't open point file\n" + r.input + "\nNothing was written.", "Error"};
    case WriteEnding::InputChanged:
        return {"Point file changed since it was opened\n" + r.input + "\nOpen it again. Nothing was written.",
                "Error"};
    case WriteEnding::NotAFile:
        return {"Can't save as\n" + r.output + "\nIt is a " + r.kind + ", not a file. Nothing was written.", "Error"};
    case WriteEnding::CantCreate: return {"Can't create file\n" + r.output + "\nNothing was written.", "Error"};
    case WriteEnding::CantWrite: return {"Can't write file\n" + r.output + "\nNothing was written.", "Error"};
    case WriteEnding::DiskFull:
        return {"Can't write file\n" + r.output + "\nThe disk is full. Nothing was written.", "Error"};
    case WriteEnding::CantReplace: return {"Can't save file\n" + r.output + "\nNothing was written.", "Error"};
    case WriteEnding::ReadFailed: return {"Can't read point file to its end\n" + r.input + keptOutput, "Error"};
    case WriteEnding::ChangedWhileRead:
        return {"Point file changed while it was read\n" + r.input + keptOutput, "Error"};
    case WriteEnding::Stopped: return {"The write was stopped." + keptOutput, "Stopped"};
    case WriteEnding::ValueTooLarge:
        return {"Line " + std::to_string(r.line) + " of this file converts to a value\ntoo large to write.\n" +
                    r.input + keptOutput,
                "Error"};
    }
    return {"", "Error"};
}
