// The page's window written at build time from the control table, so that the page paints it
// before its module arrives: `page_html INDEX STYLE SITE` writes SITE/index.html, INDEX with the
// window's markup at its line "<!--window-->", and SITE/style.css, STYLE with the placement.
// Built and run on the build machine, not for the browser.
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "control_table.h"
#include "rules.h"

namespace quorvane {
namespace {

std::string Escaped(std::string_view text) {
    std::string out;
    for (const char c : text)
        out += c == '&' ? "&amp;" : c == '<' ? "&lt;" : c == '"' ? "&quot;" : std::string(1, c);
    return out;
}

// A box's unit: the nearest label that starts right of it on its row.
const ControlEntry* UnitOf(const ControlEntry& box) {
    const ControlEntry* unit = nullptr;
    for (const ControlEntry& e : kControls)
        if (e.kind == ControlKind::Label && e.left >= box.left + box.width && e.top >= box.top &&
            e.top < box.top + box.height && (!unit || e.left < unit->left))
            unit = &e;
    return unit;
}

// The box a label names or gives the unit of, if any.
const ControlEntry* BoxOf(const ControlEntry& label) {
    for (const ControlEntry& box : kControls)
        if (box.kind == ControlKind::TextBox &&
            ((box.caption && std::string_view(box.caption) == label.name) || UnitOf(box) == &label))
            return &box;
    return nullptr;
}

// The creation order, each box followed by its unit: one column reads in it.
std::vector<const ControlEntry*> PageOrder() {
    std::vector<const ControlEntry*> order;
    for (const ControlEntry* entry : CreationOrder()) {
        if (std::ranges::find(order, entry) != order.end()) continue;
        order.push_back(entry);
        if (entry->kind == ControlKind::TextBox && UnitOf(*entry)) order.push_back(UnitOf(*entry));
    }
    return order;
}

struct Area {
    int left, top, right, bottom;
};

// The room right of a text: up to the nearest control beside it, else the window's edge.
int RoomRight(const ControlEntry& text, int top, int bottom) {
    int room = kClientWidth;
    for (const ControlEntry& c : kControls)
        if (c.left >= text.left + text.width && c.top < bottom && c.top + c.height > top)
            room = std::min(room, c.left);
    return room;
}

// Where a control stands, in twips. A caption and a unit stand on their box's rows, so that the
// three share a baseline, and a text may take the empty room beside it where its font needs it.
Area AreaOf(const ControlEntry& c) {
    const ControlEntry* box = c.kind == ControlKind::Label ? BoxOf(c) : nullptr;
    Area a{c.left, c.top, c.kind == ControlKind::Line ? c.x2 : c.left + c.width, c.top + c.height};
    if (box) a.top = box->top, a.bottom = box->top + box->height;
    if (c.kind == ControlKind::Label || c.kind == ControlKind::CheckBox)
        a.right = RoomRight(c, a.top, a.bottom);
    return a;
}

std::string Markup(const ControlEntry& c) {
    const std::string name = c.name, text = Escaped(c.text);
    const std::string row = " data-row=\"" + std::to_string(RowIndex(c)) + '"';
    const std::string id = "id=\"" + name + '"' + row;
    const ControlEntry* box = c.kind == ControlKind::Label ? BoxOf(c) : nullptr;
    switch (c.kind) {
        case ControlKind::Label:
            if (!box) return "<span " + id + " class=\"control\">" + text + "</span>";
            if (box->caption == std::string_view(c.name))
                return "<label " + id + " class=\"control caption\" for=\"" + box->name + "\">" +
                       text + "</label>";
            return "<span " + id + " class=\"control unit\">" + text + "</span>";
        case ControlKind::TextBox:  // empty: the module writes its number in the user's notation
            return "<input " + id +
                   " class=\"control\" type=\"text\" autocomplete=\"off\" spellcheck=\"false\" "
                   "aria-describedby=\"" +
                   name + "-unit\"" + (c.readOnly ? " readonly>" : " inputmode=\"decimal\">") +
                   "<span id=\"" + name + "-unit\" hidden>" + Escaped(c.description) + "</span>";
        case ControlKind::CheckBox:
            return "<label id=\"" + name + "-label\"" + row + " class=\"control check\"><input " +
                   id + " type=\"checkbox\"" + (c.checked ? " checked" : "") + ">" + text +
                   "</label>";
        case ControlKind::Button: {
            const std::size_t amp = text.find("&amp;");  // the access key's letter follows
            const std::string key = text.substr(amp + 5, 1);
            return "<button " + id + " class=\"control\" type=\"button\" aria-keyshortcuts=\"Alt+" +
                   char(std::toupper(key[0])) + "\">" + text.substr(0, amp) + "<u>" + key + "</u>" +
                   text.substr(amp + 6) + "</button>";
        }
        case ControlKind::Line:
            return "<div " + id + " class=\"control line\"></div>";
        case ControlKind::Picture: {
            const std::string file = std::string(c.resource).substr(2);  // without ":/"
            if (c.stretched)
                return "<img " + id + " class=\"control picture\" src=\"" + file + "\" alt=\"" +
                       Escaped(c.accessibleName) + "\">";
            // Drawn in its ink alone, in the colours the page gives it.
            return "<div " + id +
                   " class=\"control picture ink ruled\" role=\"img\" aria-label=\"" +
                   Escaped(c.accessibleName) + "\"></div>";
        }
    }
    return {};
}

std::string Em(int twips) {
    char out[32];
    std::snprintf(out, sizeof out, "%.4gem", twips / 180.0);  // 180 twips to an em
    return out;
}

// The table as a grid with a line at every edge: each track at least its share of the table,
// grown where a text needs more (a larger font, wider spacing), so nothing overlaps.
std::string Placement() {
    std::set<int> xs{0, kClientWidth}, ys{0, kClientHeight};
    for (const ControlEntry& c : kControls) {
        const Area a = AreaOf(c);
        xs.insert({a.left, a.right});
        ys.insert({a.top, a.bottom});
    }
    const auto tracks = [](const std::set<int>& edges, const char* most) {
        std::string out;
        for (auto it = edges.begin(); std::next(it) != edges.end(); ++it)
            out += " minmax(" + Em(*std::next(it) - *it) + ", " + most + ')';
        return out;
    };
    const auto line = [](const std::set<int>& edges, int at) {
        return std::to_string(std::distance(edges.begin(), edges.find(at)) + 1);
    };
    std::string css = "#window{grid-template-columns:" + tracks(xs, "min-content") +
                      ";grid-template-rows:" + tracks(ys, "auto") + "}\n";
    for (const ControlEntry& c : kControls) {
        const Area a = AreaOf(c);
        const std::string bottom = a.bottom > a.top ? line(ys, a.bottom) : "span 1";
        css += '#' + std::string(c.name) + (c.kind == ControlKind::CheckBox ? "-label" : "") +
               "{grid-area:" + line(ys, a.top) + '/' + line(xs, a.left) + '/' + bottom + '/' +
               line(xs, a.right) + "}\n";
    }
    return css;
}

std::string Read(const char* path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

}  // namespace
}  // namespace quorvane

int main(int argc, char** argv) {
    using namespace quorvane;
    if (argc != 4) {
        std::cerr << "usage: page_html INDEX STYLE SITE\n";
        return 2;
    }
    std::string page = Read(argv[1]);
    std::string window;
    for (const ControlEntry* entry : PageOrder()) window += Markup(*entry) + '\n';
    const std::size_t at = page.find("<!--window-->\n");
    if (at == std::string::npos) return std::cerr << "no <!--window--> in " << argv[1] << '\n', 1;
    page.replace(at, 14, window);
    std::ofstream html(std::string(argv[3]) + "/index.html"),
        css(std::string(argv[3]) + "/style.css");
    html << page;
    css << Read(argv[2]) << Placement();
    return html && css ? 0 : 1;
}
