-- Reference schema of the shared weighbridge database (MySQL / MariaDB).
-- The program never creates these tables; a site creates them once, for example with
--   mariadb trivon < sql/schema.sql
-- Texts are Windows-1250 (cp1250), the character set of every workstation's session.

CREATE TABLE IF NOT EXISTS vazlab (
    id           INT NOT NULL AUTO_INCREMENT,
    cislodokla   INT NOT NULL DEFAULT 0,            -- ticket number within the year of datum
    datum        DATE NULL,                         -- ticket date
    typdokladu   VARCHAR(30) NOT NULL DEFAULT '',   -- "01 VÁŽENl PRI PRIJEZDU / EINGA" ...
    sklad        VARCHAR(60) NULL,                  -- warehouse: code, blank, name
    dealer       VARCHAR(30) NULL,
    kodpar       VARCHAR(10) NULL,                  -- partner code
    ico          VARCHAR(12) NULL,                  -- partner company number (IČO)
    dic          VARCHAR(14) NULL,                  -- partner tax number (DIČ)
    nazevpodni   VARCHAR(60) NULL,                  -- partner name
    sidlo        VARCHAR(40) NULL,                  -- partner town
    ulice        VARCHAR(50) NULL,                  -- street and number
    psc          VARCHAR(6) NULL,                   -- postal code
    posta        VARCHAR(40) NULL,                  -- post office
    spz          VARCHAR(15) NULL,                  -- lorry plate
    vlek         VARCHAR(15) NULL,                  -- trailer plate
    ridic        VARCHAR(40) NULL,                  -- driver
    komodita     VARCHAR(10) NULL,                  -- commodity code
    nomenkla     VARCHAR(20) NULL,                  -- goods code
    nazevosiva   VARCHAR(60) NULL,                  -- goods name
    brutto       DECIMAL(14,4) NULL DEFAULT 0,      -- gross weight
    tara         DECIMAL(14,4) NULL DEFAULT 0,      -- tare weight
    netto        DECIMAL(14,4) NULL DEFAULT 0,      -- net weight
    mj           VARCHAR(5) NULL,                   -- unit of measure
    vlhkost      DECIMAL(6,2) NULL,                 -- moisture %
    srazka_vlh   DECIMAL(12,3) NULL,                -- moisture deduction
    objem_hmot   DECIMAL(8,2) NULL,                 -- volume weight
    podil_sito   DECIMAL(6,2) NULL,                 -- sieve share
    obsah_n      DECIMAL(6,2) NULL,                 -- nitrogen content
    necistoty    DECIMAL(6,2) NULL,                 -- impurities
    srazka_neci  DECIMAL(12,3) NULL,                -- impurity deduction
    vykup        DECIMAL(12,2) NULL,                -- purchase
    suseni       DECIMAL(12,2) NULL,                -- drying
    cisteni      DECIMAL(12,2) NULL,                -- cleaning
    certifikat   VARCHAR(40) NULL,                  -- sustainability certificate number
    datcasvst    DATETIME NULL,                     -- moment of the last change
    dat_dodavky  DATE NULL,                         -- delivery date
    dodanonetto  DECIMAL(14,4) NULL,                -- delivered net weight
    dodavhlkost  DECIMAL(6,2) NULL,                 -- delivered moisture
    srazky1      DECIMAL(12,3) NULL,
    srazky2      DECIMAL(12,3) NULL,
    dokladodbe   VARCHAR(20) NULL,                  -- buyer's document number
    kontrakt     VARCHAR(20) NULL,
    datbrutto    DATETIME NULL,                     -- moment of the gross weight
    dattara      DATETIME NULL,                     -- moment of the tare weight
    datnetto     DATETIME NULL,                     -- moment of the net weight
    PLXDL        VARCHAR(20) NULL,
    certifikat3  VARCHAR(30) NULL,                  -- contract number ("Smlouva")
    dispozice    VARCHAR(30) NULL,
    dodacilist   VARCHAR(20) NULL,                  -- delivery note number brought with the load
    poznamka     VARCHAR(100) NULL,                 -- note
    podpis       VARCHAR(40) NULL,                  -- signature
    alibibrutt   VARCHAR(60) NULL,                  -- scale's weight field of the gross reading
    alibitara    VARCHAR(60) NULL,                  -- scale's weight field of the tare reading
    PRIMARY KEY (id),
    KEY vazlab_datum (datum, cislodokla)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE=cp1250_general_ci;

CREATE TABLE IF NOT EXISTS adresar (
    id           INT NOT NULL AUTO_INCREMENT,
    ico          VARCHAR(12) NOT NULL DEFAULT '',   -- company number (IČO)
    kod_platce   VARCHAR(14) NULL,                  -- tax number (DIČ)
    kodpar       VARCHAR(10) NULL,                  -- partner code
    nazevpodni   VARCHAR(60) NULL,                  -- company name
    sidlo        VARCHAR(40) NULL,                  -- town
    ulicecislo   VARCHAR(50) NULL,                  -- street and number
    psc          VARCHAR(6) NULL,                   -- postal code
    posta        VARCHAR(40) NULL,                  -- post office
    telefon      VARCHAR(20) NULL,
    PRIMARY KEY (id),
    KEY adresar_ico (ico)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE=cp1250_general_ci;

CREATE TABLE IF NOT EXISTS vazlabcenik (
    id           INT NOT NULL AUTO_INCREMENT,
    komodita     VARCHAR(10) NOT NULL DEFAULT '',   -- commodity code
    nomenkla     VARCHAR(20) NULL,                  -- goods code
    nazev        VARCHAR(60) NULL,                  -- goods name
    mj           VARCHAR(5) NULL,                   -- unit of measure
    cena         DECIMAL(12,2) NULL,                -- price per unit
    platnostod   DATE NULL,                         -- price valid from
    PRIMARY KEY (id),
    KEY vazlabcenik_komodita (komodita)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE=cp1250_general_ci;

CREATE TABLE IF NOT EXISTS historiem (
    id           INT NOT NULL AUTO_INCREMENT,
    modul        VARCHAR(30) NULL,                  -- program module: "Váha PLX"
    pc           VARCHAR(60) NULL,                  -- workstation number
    stredisko    VARCHAR(20) NULL,
    datumcas     DATETIME NULL,                     -- moment of the start
    ipadr        VARCHAR(15) NULL,
    computeruser VARCHAR(100) NULL,
    computername VARCHAR(100) NULL,
    mdatumcas    DATETIME NULL,                     -- program file's modification moment
    mverze       VARCHAR(30) NULL,                  -- program file version
    PRIMARY KEY (id)
) ENGINE=InnoDB DEFAULT CHARSET=cp1250 COLLATE=cp1250_general_ci;
