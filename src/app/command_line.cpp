#include "app/command_line.h"

#include <algorithm>
#include <iterator>

namespace cifrano {

namespace {

constexpr std::string_view kHelpOptions[] = {"-h", "--help"};

// Options that the window toolkit takes for itself, with or without a value.
constexpr std::string_view kToolkitOptions[] = {"platform",      "platformpluginpath",
                                                "platformtheme", "plugin",
                                                "qmljsdebugger", "qwindowgeometry",
                                                "qwindowicon",   "qwindowtitle",
                                                "reverse",       "session",
                                                "display",       "geometry",
                                                "style",         "stylesheet",
                                                "widgetcount",   "nograb",
                                                "dograb",        "sync",
                                                "name",          "title",
                                                "visual",        "ncols",
                                                "cmap",          "testability"};

bool IsToolkitOption(std::string_view arg) {
    if (!arg.starts_with("-")) return false;
    arg.remove_prefix(arg.starts_with("--") ? 2 : 1);
    arg = arg.substr(0, arg.find('='));
    return std::find(std::begin(kToolkitOptions), std::end(kToolkitOptions), arg) !=
           std::end(kToolkitOptions);
}

bool IsHelpOption(std::string_view arg) {
    return std::find(std::begin(kHelpOptions), std::end(kHelpOptions), arg) !=
           std::end(kHelpOptions);
}

std::string Quoted(std::string_view text) { return "«" + std::string(text) + "»"; }

}  // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args) {
    CommandLine parsed;
    if (args.empty()) return parsed;
    if (std::any_of(args.begin(), args.end(),
                    [](const std::string& a) { return IsHelpOption(a); })) {
        parsed.Kind = CommandKind::Help;
        return parsed;
    }
    const std::string& first = args[0];
    const std::string withValue = std::string(kCheckOption) + "=";
    if (first == kCheckOption || first.starts_with(withValue)) {
        const bool valueInline = first != kCheckOption;
        const std::size_t maxArgs = valueInline ? 1 : 2;
        if (args.size() > maxArgs) {
            parsed.Kind = CommandKind::Unknown;
            parsed.Problem = "sobra el argumento " + Quoted(args[maxArgs]) + ": " +
                             std::string(kCheckOption) + " revisa un solo archivo";
            return parsed;
        }
        parsed.Kind = CommandKind::Check;
        if (valueInline)
            parsed.Path = first.substr(withValue.size());
        else if (args.size() == 2)
            parsed.Path = args[1];
        if (valueInline && parsed.Path.empty()) {
            parsed.Kind = CommandKind::Unknown;
            parsed.Problem = "falta el nombre del archivo después de " + withValue;
        }
        return parsed;
    }
    parsed.Kind = CommandKind::Unknown;
    parsed.MaybeToolkitOptions = IsToolkitOption(first);
    parsed.Problem = first.starts_with("-") ? "opción desconocida " + Quoted(first)
                                            : "argumento inesperado " + Quoted(first);
    return parsed;
}

std::string HelpText() {
    return "Uso: cifrano [--comprobar [archivo] | --progreso [--jugador NOMBRE] |\n"
           "                --exportar archivo.csv [--jugador NOMBRE]]\n"
           "\n"
           "Sin opciones, empieza el juego.\n"
           "\n"
           "  --comprobar [archivo]  revisa un archivo de tipos de operación (si no se\n"
           "                         indica, configuracion.txt de la carpeta del programa)\n"
           "                         y dice, línea a línea, cómo se juzgarán las respuestas.\n"
           "                         Termina con 0 si el juego puede usar el archivo y con\n"
           "                         2 si no.\n"
           "  --progreso [--jugador NOMBRE]\n"
           "                         abre la ventana de progreso con el historial de\n"
           "                         partidas (con --jugador, el de ese jugador).\n"
           "  --exportar archivo.csv [--jugador NOMBRE]\n"
           "                         escribe el historial de partidas (o solo el de un\n"
           "                         jugador) en un archivo CSV. Termina con 0 si lo\n"
           "                         escribe y con 1 si no.\n"
           "  -h, --help             muestra esta ayuda.\n";
}

std::string UsageText(const CommandLine& parsed) {
    std::string text = "cifrano: ";
    text += parsed.Problem.empty() ? "no se entiende la orden" : parsed.Problem;
    text += "\nUso: cifrano [--comprobar [archivo]]   (cifrano --help para la ayuda)\n";
    return text;
}

}  // namespace cifrano
