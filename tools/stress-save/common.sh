# shellcheck shell=bash disable=SC2034,SC2154 # variables shared with the scripts that source it
# Shared by tools/stress-workstations and tools/crash-test (sourced, not run): the build of
# vaha-stress-save, a private server on a free loopback port, the database they fill, and the
# checks of what the saves left in vazlab.
#
# Expects: root (repository), build (build tree). Sets: tool, srv, port, db, work.

stress_build() {
    "$root/tools/install-deps"
    [ -f "$build/build.ninja" ] ||
        cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build" --target vaha-stress-save -- -j "${VAHA_JOBS:-2}" >/dev/null
    tool=$build/vaha-stress-save
}

free_port() {
    local p
    for _ in $(seq 1 200); do
        p=$((40000 + RANDOM % 20000))
        if ! ss -Htln "sport = :$p" 2>/dev/null | grep -q .; then
            echo "$p"
            return 0
        fi
    done
    echo "no free loopback port found" >&2
    return 1
}

# Texts typed here are UTF-8; literals compare as cp1250, the character set of the tables.
sql() {
    mariadb --no-defaults --protocol=TCP -h 127.0.0.1 -P "$port" -u root \
        --default-character-set=utf8mb4 --batch --skip-column-names \
        --init-command="SET collation_connection = cp1250_general_ci" "$@" "$db"
}

# A private server under the build tree (stopped on exit) and a fresh database with the
# reference schema, one partner and one commodity.
stress_server() {
    srv=$build/$1
    work=$build/$1-run
    db=stress
    "$root/tools/dbserver" stop "$srv" # a leftover of an interrupted run
    port=$(free_port)
    trap 'status=$?; "$root/tools/dbserver" stop "$srv"; exit $status' EXIT
    "$root/tools/dbserver" start "$srv" "$port"
    "$root/tools/dbserver" load "$srv" "$port" "$db" "$root/sql/schema.sql"
    sql -e "INSERT INTO adresar (ico, kod_platce, kodpar, nazevpodni, sidlo, ulicecislo, psc, posta)
            VALUES ('12345678', 'CZ12345678', 'P001', 'Zemědělská a.s.', 'Hrušovany',
                    'Hlavní 1', '66462', 'Hrušovany u Brna');
            INSERT INTO vazlabcenik (komodita, nomenkla, nazev, mj)
            VALUES ('PS', '1001', 'Pšenice potravinářská', 't');"
    rm -rf "$work"
    mkdir -p "$work"
}

# Tickets whose columns are not all what vaha-stress-save typed for their marker (ticket date
# $1 for even, $2 for odd sequence numbers): a half-saved or mixed-up ticket.
not_whole() {
    sql -e "
SELECT COUNT(*) FROM (
  SELECT v.*, SUBSTRING_INDEX(SUBSTRING_INDEX(poznamka, ' ', 2), ' ', -1) AS ws,
         SUBSTRING_INDEX(poznamka, ' ', -1) + 0 AS seq
  FROM vazlab v) t
WHERE NOT COALESCE(
  poznamka REGEXP '^stress [0-9]+ [0-9]+\$'
  AND id > 0 AND cislodokla > 0
  AND datum = IF(seq % 2 = 0, '$1', '$2')
  AND typdokladu = IF(seq % 2 = 1, '04 VÁŽENl PRI ODJEZDU / AUSGAN',
                      '01 VÁŽENl PRI PRIJEZDU / EINGA')
  AND ico = '12345678' AND dic = 'CZ12345678' AND kodpar = 'P001'
  AND nazevpodni = 'Zemědělská a.s.' AND sidlo = 'Hrušovany' AND ulice = 'Hlavní 1'
  AND psc = '66462' AND posta = 'Hrušovany u Brna'
  AND komodita = 'PS' AND nomenkla = '1001' AND nazevosiva = 'Pšenice potravinářská'
  AND certifikat3 = CONCAT('S-', seq)
  AND spz = CONCAT('W', ws, '-', seq) AND vlek = CONCAT('V', ws, '-', seq)
  AND ridic = 'Řidič Šťastný'
  AND brutto = 30 + seq % 10 AND tara = 12.5 AND netto = brutto - tara
  AND datbrutto IS NOT NULL AND dattara IS NOT NULL
  AND mj = 't' AND vlhkost = 14.2 AND sklad = '01 Sklad Kyjov'
  AND dodacilist = CONCAT('DL', seq) AND podpis = 'Vážný'
  AND certifikat = 'EU-ISCC-Cert-CZ208-39164502', FALSE)"
}

# One line per year: year, tickets, duplicate numbers, gaps (COUNT = MAX - MIN + 1 when none),
# lowest number.
numbers_per_year() {
    sql -e "SELECT YEAR(datum), COUNT(*), COUNT(*) - COUNT(DISTINCT cislodokla),
                   MAX(cislodokla) - MIN(cislodokla) + 1 - COUNT(DISTINCT cislodokla),
                   MIN(cislodokla)
            FROM vazlab GROUP BY YEAR(datum) ORDER BY 1"
}
