// The script of a published family tree: the outline, opened a branch at a time, and the search over the
// names. Both read their data from script files next to the pages, loaded by script elements, because
// browsers refuse to fetch files from a page opened as a file; so the site works from a folder, a USB
// stick or any static host alike.
"use strict";

(function () {
    // ----------------------------------------------------------------------------------------------------
    // Addresses: the same two folder levels the program chose, from the FNV-1a digest of the address.

    function hashedFolder(address) {
        var h = 0x811c9dc5;
        for (var i = 0; i < address.length; i++) {
            h ^= address.charCodeAt(i);
            h = Math.imul(h, 16777619) >>> 0;
        }
        var hex = ("0000000" + h.toString(16)).slice(-8);
        return hex.slice(0, 2) + "/" + hex.slice(2, 4);
    }

    function personPage(hex) {
        return "p/" + hashedFolder(hex) + "/" + hex + ".html";
    }

    function branchScript(hex) {
        return hex ? "o/" + hashedFolder(hex) + "/" + hex + ".js" : "o/top.js";
    }

    // ----------------------------------------------------------------------------------------------------
    // Data files: each is a script that hands its data to a function of ours when it runs.

    var loading = {};

    function loadScript(src) {
        if (!loading[src]) {
            loading[src] = new Promise(function (resolve, reject) {
                var script = document.createElement("script");
                script.src = src;
                script.onload = function () { resolve(); };
                script.onerror = function () { reject(new Error(src)); };
                document.head.appendChild(script);
            });
        }
        return loading[src];
    }

    function element(tag, className, text) {
        var e = document.createElement(tag);
        if (className)
            e.className = className;
        if (text !== undefined)
            e.textContent = text;
        return e;
    }

    // A person's name, linked to his page where he has one.
    function personLink(hex, label, flags, years) {
        var span = document.createDocumentFragment();
        var name;
        if (flags & 8) {
            name = element("span", "private", label);
        } else {
            name = element("a", flags & 2 ? "group" : flags & 1 ? "female" : "male");
            name.href = personPage(hex);
            name.appendChild(element("bdi", "", label));
        }
        span.appendChild(name);
        if (years) {
            span.appendChild(document.createTextNode(" "));
            span.appendChild(element("span", "years", years));
        }
        return span;
    }

    // ----------------------------------------------------------------------------------------------------
    // The outline.

    var branches = {};
    window.verdanBranch = function (id, rows) { branches[id] = rows; };

    function loadBranch(hex) {
        return loadScript(branchScript(hex)).then(function () { return branches[hex] || []; });
    }

    function outlineNode(row) {
        var li = element("li");
        li.dataset.hex = row[0];
        if (row[2] & 4) {
            var toggle = element("button", "toggle");
            toggle.type = "button";
            toggle.setAttribute("aria-expanded", "false");
            toggle.setAttribute("aria-label", row[1]);
            toggle.addEventListener("click", function () { setOpen(li, !li.classList.contains("open")); });
            li.appendChild(toggle);
        } else {
            li.appendChild(element("span", "leaf"));
        }
        li.appendChild(personLink(row[0], row[1], row[2], row[3]));
        return li;
    }

    function fillList(list, rows) {
        for (var i = 0; i < rows.length; i++)
            list.appendChild(outlineNode(rows[i]));
    }

    function setOpen(li, open) {
        var toggle = li.querySelector(":scope > .toggle");
        if (!toggle)
            return Promise.resolve();
        toggle.setAttribute("aria-expanded", open ? "true" : "false");
        li.classList.toggle("open", open);
        var list = li.querySelector(":scope > ul");
        if (list) {
            list.hidden = !open;
            return Promise.resolve();
        }
        if (!open)
            return Promise.resolve();
        list = element("ul");
        li.appendChild(list);
        return loadBranch(li.dataset.hex).then(function (rows) { fillList(list, rows); });
    }

    // "outline.html#A/B/C" opens the path from A down to C and shows C.
    function openPath(root, path) {
        var list = root;
        var at = 0;
        function next() {
            var li = null;
            for (var i = 0; i < list.children.length; i++)
                if (list.children[i].dataset.hex === path[at])
                    li = list.children[i];
            if (!li)
                return;
            if (at === path.length - 1) {
                li.classList.add("target");
                li.scrollIntoView({ block: "center" });
                var link = li.querySelector(":scope > a");
                if (link)
                    link.focus();
                return;
            }
            return setOpen(li, true).then(function () {
                list = li.querySelector(":scope > ul");
                at++;
                return next();
            });
        }
        return next();
    }

    function startOutline(root) {
        var status = document.getElementById("outline-status");
        loadBranch("").then(function (rows) {
            fillList(root, rows);
            status.hidden = true;
            var path = decodeURIComponent(location.hash.replace(/^#/, "")).split("/").filter(Boolean);
            return path.length ? openPath(root, path) : undefined;
        }).catch(function () { status.hidden = true; });
    }

    // ----------------------------------------------------------------------------------------------------
    // The search: the program's fold, the name box's way of splitting a lineage into names, and an index
    // in shards by the first letters of every name, each shard loaded when a search needs it.

    var fold = window.verdanFold || {};
    var latinLetters = fold.latin || [];

    function isLatinLetter(code) {
        var lo = 0, hi = latinLetters.length / 2 - 1;
        while (lo <= hi) {
            var mid = (lo + hi) >> 1;
            if (code < latinLetters[2 * mid])
                hi = mid - 1;
            else if (code > latinLetters[2 * mid + 1])
                lo = mid + 1;
            else
                return true;
        }
        return false;
    }

    // The same text the program's fold makes: composed, marks and tatweel dropped, letter forms read as
    // one, Latin letters without case or accents.
    function searchFold(text) {
        var table = fold.table || {};
        var composed = text.normalize("NFC");
        var out = "";
        var afterLatin = false;
        for (var ch of composed) {
            var code = ch.codePointAt(0);
            if (code >= 0x300 && code <= 0x36f && table[ch] === undefined) {
                if (!afterLatin)
                    out += ch;
                continue;
            }
            var folded = table[ch];
            if (folded === "")
                continue;
            out += folded === undefined ? ch : folded;
            afterLatin = isLatinLetter(code);
        }
        return out;
    }

    // Words that never end a name ("عبد الله", "أبو بكر") and the connectives of a lineage.
    var prefixWords = ["ابو", "أبو", "أم", "ام", "أبي", "ابي", "عبد", "ذو", "ذي", "ذا"];
    var connectives = ["بن", "ابن", "إبن", "بنت"];

    function cleanName(text) {
        return text.replace(/[\u00a0\u0640]/g, "").replace(/ {2,}/g, " ").trim();
    }

    function normaliseAbi(word) {
        if (word.startsWith("أبي") || word.startsWith("ابي"))
            return word.slice(0, 2) + "\u0648" + word.slice(3);
        return word;
    }

    // The name words of a text, as the program's name box splits what was typed.
    function splitNameWords(text) {
        var work = text.trim();
        var words = [];
        if (!work)
            return words;
        var from = 0;
        for (var i = 0; i < work.length; i++) {
            if (work[i] !== " " && work[i] !== "\r")
                continue;
            var piece = work.slice(from, i).trim();
            if (piece.length <= 1 || prefixWords.indexOf(piece) >= 0)
                continue;
            if (connectives.indexOf(piece) < 0)
                words.push(normaliseAbi(piece));
            from = i + 1;
        }
        var rest = work.slice(from).trim();
        if (rest && connectives.indexOf(rest) < 0)
            words.push(normaliseAbi(rest));
        return words;
    }

    // The name box's last pass: each alef or hamza written as each of ا أ إ آ ء, each ة or ه as the other.
    function wordVariants(word) {
        var alef = ["\u0627", "\u0623", "\u0625", "\u0622", "\u0621"];
        var ta = ["\u0647", "\u0629"];
        var list = [];
        for (var i = 0; i < word.length; i++) {
            var forms = alef.indexOf(word[i]) >= 0 ? alef : ta.indexOf(word[i]) >= 0 ? ta : null;
            if (!forms)
                continue;
            for (var f = 0; f < forms.length; f++) {
                var variant = word.slice(0, i) + forms[f] + word.slice(i + 1);
                if (variant !== word && list.indexOf(variant) < 0)
                    list.push(variant);
            }
        }
        return list;
    }

    // Hamza seats and ة read as one, for the last pass's comparisons.
    function loose(text) {
        return text.replace(/[\u0623\u0625\u0622\u0621]/g, "\u0627").replace(/\u0629/g, "\u0647");
    }

    var shardData = {};
    window.verdanShard = function (name, entries) { shardData[name] = entries; };

    function utf8Hex(text) {
        var bytes = new TextEncoder().encode(text);
        var hex = "";
        for (var i = 0; i < bytes.length; i++)
            hex += ("0" + bytes[i].toString(16)).slice(-2);
        return hex;
    }

    function shardName(key, exact, part) {
        return (exact ? "e" : "p") + utf8Hex(key) + (part ? "-" + part : "");
    }

    function shardScript(name) {
        return "s/" + hashedFolder(name).slice(0, 2) + "/" + name + ".js";
    }

    // The shards that may hold names beginning with `word`: the one that covers it, and those below it.
    // The one holding the word itself comes first.
    function shardsFor(word) {
        var list = window.verdanSearchIndex || [];
        var first = [], rest = [];
        for (var i = 0; i < list.length; i++) {
            var key = list[i][0], parts = list[i][1], exact = list[i][2];
            var covers = !exact && word.startsWith(key);
            if (!(key.startsWith(word) || covers))
                continue;
            var holdsWord = exact ? key === word : covers;
            for (var p = 0; p < parts; p++)
                (holdsWord ? first : rest).push(shardName(key, exact, p));
        }
        return first.concat(rest);
    }

    function loadShard(name) {
        return loadScript(shardScript(name)).then(function () { return shardData[name] || []; });
    }

    // Whether every further word meets a name of the person's lineage; `inOrder` when they meet his
    // fathers one after the other, as a typed lineage names them.
    function lineageMatch(chainWords, words, compare) {
        var inOrder = true, at = 1;
        for (var w = 1; w < words.length; w++) {
            var found = -1;
            for (var c = 1; c < chainWords.length && found < 0; c++)
                if (compare(chainWords[c]).startsWith(words[w]))
                    found = c;
            if (found < 0)
                return 0;
            if (found < at)
                inOrder = false;
            at = found + 1;
        }
        return inOrder ? 2 : 1;
    }

    // One pass over the persons under the names that begin with one of `firsts` (compared through
    // `compare`) whose lineage holds the other words; `found` keeps each person to his first pass.
    function searchPass(firsts, words, found, rankOf, compare, show) {
        var first = compare(firsts[0]);
        var later = words.map(compare);
        var shards = [];
        firsts.forEach(function (word) {
            shardsFor(word).forEach(function (name) {
                if (shards.indexOf(name) < 0)
                    shards.push(name);
            });
        });
        var chain = Promise.resolve();
        shards.forEach(function (name) {
            chain = chain.then(function () { return loadShard(name); }).then(function (entries) {
                var rows = [];
                for (var e = 0; e < entries.length; e++) {
                    var token = entries[e][0];
                    if (!compare(token).startsWith(first))
                        continue;
                    var persons = entries[e][1];
                    for (var p = 0; p < persons.length; p++) {
                        var person = persons[p];
                        if (found[person[0]])
                            continue;
                        var lineage = later.length > 1
                            ? lineageMatch(splitNameWords(searchFold(person[1])), later, compare) : 2;
                        if (!lineage)
                            continue;
                        found[person[0]] = true;
                        rows.push({ rank: rankOf(compare(token) === first, person, lineage), person: person });
                    }
                }
                rows.sort(function (a, b) { return a.rank - b.rank; });
                show(rows.map(function (r) { return r.person; }));
            });
        });
        return chain;
    }

    function startSearch() {
        var input = document.getElementById("search-input");
        var status = document.getElementById("search-status");
        var results = document.getElementById("results");
        var limit = 200;
        var query = new URLSearchParams(location.search).get("q") || "";
        input.value = query;
        var words = splitNameWords(cleanName(searchFold(query)));
        if (!words.length)
            return;
        var started = performance.now();
        var shown = 0, total = 0;
        function show(persons) {
            total += persons.length;
            for (var i = 0; i < persons.length && shown < limit; i++, shown++) {
                var li = element("li");
                li.appendChild(personLink(persons[i][0], persons[i][1], persons[i][3], persons[i][2]));
                results.appendChild(li);
            }
            if (shown && window.verdanFirstAnswerMs === undefined)
                window.verdanFirstAnswerMs = performance.now() - started;
            status.textContent = total > shown ? status.dataset.more.replace(/%[sd#]/, String(total - shown)) : "";
        }
        function finished() {
            window.verdanSearchDone = true;
            if (!total)
                status.textContent = status.dataset.none;
        }
        var found = {};
        var same = function (t) { return t; };
        // The name itself before longer names, a first name before a family name, a lineage in its order
        // before names met anywhere.
        var rank = function (exact, person, lineage) {
            return (exact ? 0 : 4) + (person[4] ? 0 : 2) + (lineage === 2 ? 0 : 1);
        };
        searchPass([words[0]], words, found, rank, same, show).then(function () {
            // The name box's last pass: the other ways of writing a hamza or a final ta.
            var variants = wordVariants(words[0]);
            if (variants.length)
                return searchPass(variants, words, found, function () { return 0; }, loose, show);
        }).then(finished, finished);
    }

    // Made available to the site's tests, which check the fold and the words against the program's.
    window.verdanSearchText = { fold: searchFold, splitNameWords: splitNameWords, cleanName: cleanName,
                                variants: wordVariants, personPage: personPage };

    var outline = document.getElementById("outline");
    if (outline)
        startOutline(outline);
    if (document.getElementById("search-form"))
        startSearch();
})();
