#include "CliCommands.h"

#include <iterator>

namespace quillon::cli {

namespace {

const CliCommand kCommands[] = {
    {"check", "decode program files as the editor's Open does",
     "usage: quillon-cli check [--machine M] FILE...\n"
     "Decodes each file as opening it in the editor would and prints\n"
     "\"FILE: ok, N rows, metric|imperial\" or \"FILE: rejected: MESSAGE\".\n"
     "Exit 0 when all were accepted, 1 when any was rejected, 2 on a usage or read error.\n",
     runCheckCommand},
    {"lint", "list the problems of program files, as the editor's program check does",
     "usage: quillon-cli lint [--machine M] [--woodworker] [--strict] FILE...\n"
     "Decodes each file and checks its program for the machine: unknown codes,\n"
     "parameters outside the machine's range for the file's units (metric without\n"
     "a unit line), filled columns the code does not use, the Mark 4 H value,\n"
     "line numbers not consecutive from 00, calls and jumps to missing lines,\n"
     "returns without a call, more rows than the machine takes (on the first row\n"
     "beyond the limit) and a missing program end (M30, G22 on the Mark 2).\n"
     "Then the test run's warnings: a rapid through material (the billet the\n"
     "description names, else 20 mm; the mill block 80 x 60 x 20 mm), a feed while\n"
     "the spindle is off (Mark 4, F1), a move before any G90 or G91.\n"
     "Prints one finding per line as \"FILE:LINE: N05: message\", a warning as\n"
     "\"FILE:LINE: N05: Warnung: message\", LINE being the file's line (from 1)\n"
     "that holds the row; a missing end names the last row.\n"
     "--woodworker  the F1 Woodworker's spindle speeds (also taken from the settings)\n"
     "--strict      warnings fail the file too\n"
     "A rejected file prints \"FILE: rejected: MESSAGE\". Exit 0 and no output when\n"
     "every program is clean, 0 with warnings only (1 with --strict), 1 when there\n"
     "is any error or rejected file, 2 on a usage or read error.\n",
     runLintCommand},
    {"export", "convert a lathe program for the Spindra turning simulator",
     "usage: quillon-cli export [--machine M] FILE -o OUT [--billet D] [--tool T[:SPEED]]...\n"
     "Writes OUT as the editor's export to Spindra would: absolute, numbered moves with\n"
     "calls, jumps and drilling cycles unrolled (Windows-1252, CR LF).\n"
     "--billet D   the billet diameter, needed when the description does not name it\n"
     "--tool T[:SPEED]  the answer to the next tool change in program order: tool 1 to 11\n"
     "             and the spindle speed; without SPEED the last speed stays. When the\n"
     "             answers run out, tool 1 and the last speed (1000 at first) are used.\n"
     "OUT is written only when the export completes. Exit 1 when it cannot complete,\n"
     "2 on a usage or read error and for the F1 mill, whose programs are not exported.\n",
     runExportCommand},
    {"format", "write a program file exactly as saving it would",
     "usage: quillon-cli format [--machine M] FILE\n"
     "Decodes FILE and writes to standard output the bytes that saving it in\n"
     "the editor would write (Windows-1252, CR LF). Exit 1 when the file is rejected.\n",
     runFormatCommand},
    {"send", "send a program to the machine over a serial port",
     "usage: quillon-cli send [--machine M] --port DEV FILE\n"
     "Decodes FILE and writes the machine's send text (NUL leader, \"%\", header,\n"
     "program lines without comments, unit line, NUL trailer) to DEV at 300 baud,\n"
     "even parity, 7 data bits, 1 stop bit, in chunks of 32 characters. DEV is\n"
     "1 to 4 for /dev/ttyS0 to /dev/ttyS3, or a device path. Progress and the\n"
     "estimated time go to standard error. Exit 0 only when every byte has left\n"
     "the port (its transmitter is empty, not only the driver's queue); 1 on a\n"
     "port error (the reason on standard error), a rejected file or Ctrl+C;\n"
     "2 on a usage error.\n",
     runSendCommand},
    {"receive", "receive a program from the machine over a serial port",
     "usage: quillon-cli receive [--machine M] --port DEV -o FILE [--raw RAWFILE]\n"
     "Waits for a transmission on DEV (300 baud, 7E1) and ends on the unit line,\n"
     "on 5 s of silence after the first character, or on Ctrl+C. Decodes what\n"
     "arrived and saves it to FILE as the editor's Save would; --raw also writes\n"
     "the bytes as received. FILE and RAWFILE are checked before the port opens.\n"
     "Exit 0 when the program arrived whole (its unit line came); 3 when what was\n"
     "saved is incomplete (no unit line); 1 when nothing arrived or the text is\n"
     "rejected (RAWFILE is written all the same); 2 on a usage error or a FILE or\n"
     "RAWFILE that cannot be written.\n",
     runReceiveCommand},
    {"print", "write the printed listing of a program as a PDF",
     "usage: quillon-cli print [--machine M] FILE --pdf OUT\n"
     "Decodes FILE and writes the listing that printing it in the editor would\n"
     "give to OUT as an A4 PDF, with the file's own path in every page header.\n"
     "Exit 1 when the file is rejected or the PDF cannot be written.\n",
     runPrintCommand, true},
    {"preview", "draw the tool path of a program as an SVG file",
     "usage: quillon-cli preview [--machine M] FILE --svg OUT [--view top|side]\n"
     "Decodes FILE, follows it as the machine runs it (calls, jumps, cycles) and\n"
     "writes the editor's tool path drawing to OUT as SVG: rapid moves dashed,\n"
     "feed moves solid, cycles as the contour they work to. --view chooses the\n"
     "F1 mill's top view (X/Y, the default) or side view (X/Z).\n"
     "A program that cannot be followed to its end is drawn up to where it stops,\n"
     "with the reason in the drawing and on standard error; that still exits 0.\n"
     "Exit 1 when the file is rejected or OUT cannot be written, 2 on a usage or read error.\n",
     runPreviewCommand, true},
};

}  // namespace

const CliCommand* findCommand(const QString& name)
{
    for (const CliCommand& c : kCommands)
        if (name == QLatin1String(c.name))
            return &c;
    return nullptr;
}

QString generalHelp()
{
    QString text = QStringLiteral(
        "usage: quillon-cli [--settings FILE] COMMAND [OPTIONS] [FILE...]\n"
        "Headless tools for EMCO Compact 5 (Mark 2, Mark 4) and F1 NC programs.\n\n"
        "Machines (--machine): 1 or f1 (F1 mill), 2 or mk2 (Mark 2 lathe), 4 or mk4 (Mark 4 lathe);\n"
        "without --machine the Type setting of the settings file decides.\n\n"
        "Commands:\n");
    for (const CliCommand& c : kCommands)
        text += QStringLiteral("  %1%2\n").arg(QLatin1String(c.name), -10).arg(QLatin1String(c.summary));
    text += QStringLiteral("\nGlobal options: --settings FILE, --help, --version.\n"
                           "quillon-cli COMMAND --help describes one command.\n");
    return text;
}

}  // namespace quillon::cli
