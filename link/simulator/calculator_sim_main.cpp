// korvane-calculator-sim: a simulated calculator on a pseudo-terminal. It
// prints the path of the terminal it serves on its first line; point
// Korvane's port setting at that path. See --help.

#include <poll.h>
#include <unistd.h>

#include <charconv>
#include <fstream>
#include <iostream>
#include <iterator>
#include <string>
#include <vector>

#include "link/simulator/sim_calculator.h"

using namespace korvane;
using namespace korvane::sim;

namespace {

const char kHelp[] =
    "usage: korvane-calculator-sim [OPTIONS]\n"
    "\n"
    "Plays a calculator on a pseudo-terminal and prints the terminal's path on its\n"
    "first line. With items to send it opens an exchange and sends them once the PC\n"
    "has opened the terminal; without, it waits for the PC's wake-up byte and\n"
    "receives. Exits 0 when the exchange went as asked, 3 when the PC broke a record\n"
    "rule, 4 when the PC ended the exchange or did not answer.\n"
    "\n"
    "  --protocol cfx|algebra  9600 baud (cfx, the default) or 38400 baud\n"
    "  --pace                  send and take in bytes no faster than the line rate\n"
    "  --item KIND[:NAME[:SIZE]]  an item to send: program, text, matrix (SIZE RxC),\n"
    "                          list (SIZE rows, then :GROUP), picture, screen-dc,\n"
    "                          screen-dd, backup, graph-memory, function; at 38400\n"
    "                          baud program and raw\n"
    "  --send FILE             an item to send, as its bytes go on the line\n"
    "  --open-with-15          open the exchange with 0x15 (9600 baud)\n"
    "  --out DIR               write each received item to DIR/N.bin\n"
    "  --exists NAME           answer a header of that name with 0x21\n"
    "  --answer-exists ack|skip|cancel  the answer to the PC's 0x21 (default ack)\n"
    "  --refuse                answer the first header with 0x24\n"
    "  --corrupt N             damage the checksum of the Nth record sent\n"
    "  --stop-after N          go silent after N bytes (sent, or received)\n"
    "  --no-answer             never answer the wake-up byte\n"
    "  --wait MS               how long to wait for the PC (default 15000)\n"
    "  --serve                 keep going: receive whenever the PC wakes the\n"
    "                          calculator, send the items on each Enter, quit on q\n";

std::optional<long> Number(const std::string& text) {
  long value = 0;
  const auto r = std::from_chars(text.data(), text.data() + text.size(), value);
  if (r.ec != std::errc() || r.ptr != text.data() + text.size()) return std::nullopt;
  return value;
}

int Usage(const std::string& why) {
  std::cerr << "korvane-calculator-sim: " << why << "\n(--help lists the options)\n";
  return SIM_USAGE;
}

// Receives when the PC wakes the calculator, sends on each line of input.
int Serve(SimLine& line, const SimOptions& options) {
  std::cout << "serving: press Enter to send, q and Enter to quit" << std::endl;
  for (;;) {
    if (line.HasInput()) {
      const auto b = line.ReadByte(std::chrono::milliseconds(10));
      if (b == 0x16) {
        SimCalculator calculator(line, options, std::cout);
        calculator.Receive(true);
      }
      continue;
    }
    pollfd in{STDIN_FILENO, POLLIN, 0};
    if (::poll(&in, 1, 50) <= 0) continue;
    std::string command;
    if (!std::getline(std::cin, command) || command == "q") return SIM_DONE;
    if (options.send.empty()) {
      std::cout << "no items to send (--item or --send)" << std::endl;
      continue;
    }
    SimCalculator calculator(line, options, std::cout);
    const SimOutcome outcome = calculator.Send();
    std::cout << (outcome == SIM_DONE ? "sent" : "sending failed") << std::endl;
  }
}

}  // namespace

int main(int argc, char** argv) {
  SimOptions options;
  bool paced = false;
  bool serve = false;
  std::vector<std::string> itemArgs;
  std::vector<std::string> itemFiles;
  const std::vector<std::string> args(argv + 1, argv + argc);
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& a = args[i];
    auto value = [&]() -> std::optional<std::string> {
      if (i + 1 >= args.size()) return std::nullopt;
      return args[++i];
    };
    if (a == "--help" || a == "-h") {
      std::cout << kHelp;
      return 0;
    } else if (a == "--protocol") {
      const auto v = value();
      if (v == "cfx") options.protocol = LinkProtocol::Baud9600;
      else if (v == "algebra") options.protocol = LinkProtocol::Baud38400;
      else return Usage("--protocol takes cfx or algebra");
    } else if (a == "--pace") {
      paced = true;
    } else if (a == "--item" || a == "--send" || a == "--out" || a == "--exists") {
      const auto v = value();
      if (!v) return Usage(a + " needs a value");
      if (a == "--item") itemArgs.push_back(*v);
      else if (a == "--send") itemFiles.push_back(*v);
      else if (a == "--out") options.outDir = *v;
      else options.existing.push_back(*v);
    } else if (a == "--open-with-15") {
      options.openWith15 = true;
    } else if (a == "--answer-exists") {
      const auto v = value();
      if (v == "ack") options.existsAnswer = 0x06;
      else if (v == "skip") options.existsAnswer = 0x15;
      else if (v == "cancel") options.existsAnswer = 0x18;
      else return Usage("--answer-exists takes ack, skip or cancel");
    } else if (a == "--refuse") {
      options.refuse = true;
    } else if (a == "--no-answer") {
      options.noAnswer = true;
    } else if (a == "--serve") {
      serve = true;
    } else if (a == "--corrupt" || a == "--stop-after" || a == "--wait") {
      const auto v = value();
      const auto n = v ? Number(*v) : std::nullopt;
      if (!n || *n < 0) return Usage(a + " needs a number");
      if (a == "--corrupt") options.corrupt = static_cast<int>(*n);
      else if (a == "--stop-after") options.stopAfter = *n;
      else options.wait = std::chrono::milliseconds(*n);
    } else {
      return Usage("unknown option " + a);
    }
  }
  for (const std::string& itemArg : itemArgs) {
    std::string error;
    auto item = MakeSimItem(itemArg, options.protocol, &error);
    if (!item) return Usage(error);
    options.send.push_back(std::move(*item));
  }
  for (const std::string& path : itemFiles) {
    std::ifstream file(path, std::ios::binary);
    const Bytes bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    auto item = file ? SplitLineBytes(bytes, options.protocol) : std::nullopt;
    if (!item) return Usage("no item in " + path);
    options.send.push_back(std::move(*item));
  }

  SimLine line(options.protocol == LinkProtocol::Baud9600 ? 9600 : 38400, paced);
  if (!line.Ok()) {
    std::cerr << "korvane-calculator-sim: no pseudo-terminal could be made\n";
    return 1;
  }
  std::cout << line.Path() << std::endl;
  if (serve) return Serve(line, options);
  if (!line.WaitForPeer(options.wait)) {
    std::cerr << "ended: the PC did not open " << line.Path() << std::endl;
    return SIM_PC_ENDED;
  }
  SimCalculator calculator(line, options, std::cerr);
  const SimOutcome outcome = options.send.empty() ? calculator.Receive() : calculator.Send();
  // A closed terminal drops what the PC has not read yet: give it time to read the last record.
  line.DrainUntilQuiet(std::chrono::milliseconds(500));
  std::cerr << "bytes: " << line.BytesOut() << " sent, " << line.BytesIn() << " received" << std::endl;
  return outcome;
}
