// One tick: config.kwt read afresh, currdat.lst read, every file written.
#include "cycle/tick.h"

#include "aprs/weather_file.h"

namespace cycle {

namespace {

std::string staleText(long minutes) {
    const std::string age = minutes < 120     ? std::to_string(minutes) + " minuti"
                            : minutes < 2880 ? std::to_string(minutes / 60) + " ore"
                                             : std::to_string(minutes / 1440) + " giorni";
    return "currdat.lst non aggiornato da " + age + ": Heavy Weather è fermo o non riceve più la stazione";
}

} // namespace

TickOutcome ConversionCycle::tick(const TickInputs &in) {
    TickOutcome out;
    // One read gives every line, so a hand edit and a dialog's save take
    // effect alike, all four lines at the same tick.
    const auto raw = settings::readConfigLines(in.configPath);
    const settings::Config settings = raw ? settings::configFrom(*raw) : settings::Config{};
    if (settings.heavyWeatherFolder != folder_) {
        folder_ = settings.heavyWeatherFolder;
        found_ = false;
        quickTries_ = missedInARow_ = 0;
    }
    if (folder_.empty()) {
        // Nothing can be converted until a folder is known, so say so on
        // every tick rather than wait in silence for a file.
        records_.tickMissed(in.now);
        out.gate = Gate::NoFolder;
        if (!io::exists(in.configPath))
            out.problems.push_back("config.kwt mancante: cartella di Heavy Weather sconosciuta, nessun dato convertito");
        else if (!raw)
            out.problems.push_back(
                "config.kwt non è leggibile: cartella di Heavy Weather sconosciuta, nessun dato convertito");
        else
            out.problems.push_back("Cartella di Heavy Weather non impostata: nessun dato convertito");
        return out;
    }
    const std::string currdat = io::joinPath(folder_, kCurrentDataFileName);
    const bool present = io::exists(currdat);
    const auto reading = present ? station::readCurrentData(currdat, in.now) : std::nullopt;
    if (!reading) {
        records_.tickMissed(in.now);
        missedInARow_ = present ? 0 : missedInARow_ + 1;
        quickTries_ += found_ ? 0 : 1;
        const bool quick = !found_ && quickTries_ < kQuickTries;
        out.nextTickMs = quick ? kFirstIntervalMs : kRunningIntervalMs;
        if (present) {
            out.gate = Gate::Unreadable;
            // Said as a write error is: where, and why.
            const bool opened = io::readLines(currdat, 1).has_value();
            out.problems.push_back("currdat.lst illeggibile o incompleto in " + folder_ + ": " +
                                   (opened ? "meno righe di quelle di Heavy Weather" : io::readProblem(currdat)) +
                                   " (dati non aggiornati)");
        } else if (found_ ? missedInARow_ >= kMissedTicksTold : !quick) {
            out.problems.push_back("currdat.lst non trovato in " + folder_ +
                                   ": controllare la cartella di Heavy Weather (File › Cartelle di lavoro)");
        }
        return out;
    }
    found_ = true;
    missedInARow_ = 0;
    out.gate = Gate::Converted;
    out.reading = *reading;
    const station::WeatherReading &r = out.reading;

    out.pressure = settings.pressureChoice;
    out.forecast = aprs::forecast(r);
    out.localSituation = aprs::localSituation(r);
    const std::string comment =
        aprs::reportComment(r, settings.aprsChoice, out.forecast, out.localSituation, in.message);
    const auto weatherFile =
        aprs::writeWeatherFile(r, settings.pressureChoice, settings.outputFolder, comment, *disk_);
    out.text1 = weatherFile.text1;
    out.dataLine = weatherFile.dataLine;
    out.text1Written = weatherFile.written.ok;
    out.alerts = aprs::evaluateAlerts(r);
    out.records = records_.update(r, settings.outputFolder);

    // One clear sentence when the folder itself is the trouble, rather than
    // one per file.
    if (settings.outputFolder.empty()) {
        out.problems.push_back("Cartella di uscita non impostata in config.kwt: nessun file scritto");
    } else if (!io::exists(settings.outputFolder)) {
        out.problems.push_back("Cartella di uscita inesistente: " + settings.outputFolder + " (nessun file scritto)");
    } else {
        if (!weatherFile.written.ok)
            out.problems.push_back(weatherFile.written.reason);
        out.problems.insert(out.problems.end(), out.records.problems.begin(), out.records.problems.end());
    }
    // my_meteo.txt still gets the old values every minute under the PC's
    // time, as UI-View expects; the window says how old they are, and the
    // direct sends hold back.
    if (const auto age = io::minutesSinceWritten(currdat); age && *age >= kStaleAfterMinutes) {
        out.stale = true;
        out.problems.push_back(staleText(*age));
    }
    return out;
}

} // namespace cycle
