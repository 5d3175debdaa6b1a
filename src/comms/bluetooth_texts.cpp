#include "comms/bluetooth_texts.h"

#include <array>

namespace qelto::comms {

namespace {

struct LanguageTexts {
    std::array<std::string_view, 5> texts;  // in BluetoothMessage order
    bool othersOnSecondLine;                // NoDongle and NoUnits
    bool selectOnSecondLine;
};

// Some texts keep their historic spellings ("BlueTooth", the Polish ones without diacritics):
// engineers' guides quote them as they appear.
constexpr std::array<LanguageTexts, 10> kLanguages{{
    {{"No BlueTooth USB Dongle found", "Scanning.... (Wait 5 seconds)", "No Bluetooth units found",
      "Select a Laundry unit", "BlueTooth Pairing Error"},
     true,
     true},
    {{"No se encontró ningún dongle USB BlueTooth", "Escaneo.... (Espere 5 segundos)",
      "No se encontraron unidades Bluetooth", "Seleccione una unidad de lavandería",
      "Error de emparejamiento de BlueTooth"},
     false,
     true},
    {{"Aucun dongle USB Bluetooth trouvé", "Scan en cours.... (attendre 5 secondes)",
      "Aucune unité Bluetooth trouvée", "Sélectionnez une unité de blanchisserie",
      "Erreur d'appairage BlueTooth"},
     false,
     false},
    {{"Kein BlueTooth USB-Dongle gefunden", "Scannen.... (5 Sekunden warten)",
      "Keine Bluetooth-Einheiten gefunden", "Eine Wäscherei-Einheit auswählen",
      "BlueTooth-Paarungs Fehler"},
     false,
     false},
    {{"Nessun dongle BlueTooth USB trovato", "Scansione.... (Attendere 5 secondi)",
      "Nessuna unità Bluetooth trovata", "Selezionare un'unità di lavanderia",
      "Errore di accoppiamento BlueTooth"},
     false,
     false},
    {{"Nebyl nalezen žádný USB adaptér BlueTooth", "Vyhledávání.... (Počkejte 5 sekund)",
      "Nebyly nalezeny žádné jednotky Bluetooth", "Vyberte jednotku prádelny",
      "Chyba párování BlueTooth"},
     false,
     true},
    {{"Nie znaleziono klucza sprzetowego BlueTooth USB", "Skanowanie.... (PoCzekaj 5 sekund)",
      "Nie znaleziono jednostek Bluetooth", "Wybierz jednostke prania", "Blad parowania BlueTooth"},
     false,
     true},
    {{"No BlueTooth USB Dongle found", "Scanning.... (Wait 5 seconds)", "No Bluetooth units found!",
      "Select a Laundry unit", "BlueTooth Pairing Error"},
     true,
     true},
    {{"Geen BlueTooth USB dongle gevonden", "Bezig met scannen... (5 sec. wachten)",
      "Geen Bluetooth-eenheden gevonden", "Een Wasserij eenheid selecteren",
      "BlueTooth pairing fout"},
     false,
     false},
    {{"Nenhum dongle USB BlueTooth encontrado", "A procurar.... (Aguarde 5 segundos)",
      "Nenhuma unidade Bluetooth encontrada", "Seleccione uma unidade de lavandaria",
      "Erro de emparelhamento BlueTooth"},
     false,
     false},
}};

constexpr LanguageTexts kOtherLanguage{
    {"No BlueTooth USB Dongle found!", "Scanning.... (Wait 5 seconds)", "No Bluetooth units found!",
     "Select a Laundry unit", "BT Dongle gave Connect Error"},
    true,
    true};

}  // namespace

BluetoothStatus bluetoothStatus(int language, BluetoothMessage message) {
    const LanguageTexts& texts = language >= 1 && language <= static_cast<int>(kLanguages.size())
                                     ? kLanguages[static_cast<std::size_t>(language - 1)]
                                     : kOtherLanguage;
    const std::string_view text = texts.texts[static_cast<std::size_t>(message)];
    switch (message) {
        case BluetoothMessage::Scanning:
            return {text, StatusLine::First};
        case BluetoothMessage::PairingError:
            return {text, StatusLine::Second};
        case BluetoothMessage::SelectUnit:
            return {text, texts.selectOnSecondLine ? StatusLine::Second : StatusLine::First};
        case BluetoothMessage::NoDongle:
        case BluetoothMessage::NoUnits:
            break;
    }
    return {text, texts.othersOnSecondLine ? StatusLine::Second : StatusLine::First};
}

std::string pairedStatus(std::string_view line) {
    return "BlueTooth <===> " + std::string(line);
}

}  // namespace qelto::comms
