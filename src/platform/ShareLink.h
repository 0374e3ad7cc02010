#pragma once

#include <string>

// Where the game runs in a page, a plane is shared as a link that the page
// shows, and a link the page was opened with brings a plane in; elsewhere
// neither happens (there a plane travels as an exported file). Nothing here
// fails loudly: a page that cannot show the link leaves it unshown.
class ShareLink {
public:
    ShareLink() = delete;

    // True where show() puts a link before the player.
    static bool available();
    // True once after the page's own share button was pressed: the game
    // then shows the link of the plane in front of the player.
    static bool requested();
    // Shows the page's own address with "#plane=" and the code, to copy.
    static void show(const std::string& code);
    // The code of the link the page was opened with, once the player has
    // chosen to take its plane; given once, "" after that and elsewhere.
    static std::string takeArrived();
};
