-- Main database: the installation list, the operators' logins and the report labels.
-- Run by isql-fb after the build has created the database file.

CREATE TABLE instalacion (
  COD    INTEGER NOT NULL,
  NOMBRE VARCHAR(100),
  CONSTRAINT PK_INSTALACION PRIMARY KEY (COD)
);

CREATE TABLE usuario (
  COD        INTEGER NOT NULL,
  LOGIN      VARCHAR(30) NOT NULL,
  "PASSWORD" VARCHAR(128),
  ROL        VARCHAR(10),
  CONSTRAINT PK_USUARIO PRIMARY KEY (COD),
  CONSTRAINT UQ_USUARIO_LOGIN UNIQUE (LOGIN),
  CONSTRAINT CK_USUARIO_ROL CHECK (ROL IS NOT NULL AND ROL IN ('ADMIN', 'USER'))
);

CREATE TABLE LANGREP (
  Idioma   VARCHAR(60),
  campo_1  VARCHAR(200), campo_2  VARCHAR(200), campo_3  VARCHAR(200),
  campo_4  VARCHAR(200), campo_5  VARCHAR(200), campo_6  VARCHAR(200),
  campo_7  VARCHAR(200), campo_8  VARCHAR(200), campo_9  VARCHAR(200),
  campo_10 VARCHAR(200), campo_11 VARCHAR(200), campo_12 VARCHAR(200),
  campo_13 VARCHAR(200)
);

CREATE GENERATOR INSTALACION_ID;
CREATE GENERATOR GEN_USUARIO_ID;

-- The first installation; its file INSTALACION_1.FDB ships in the same set.
INSERT INTO instalacion VALUES (gen_id(INSTALACION_ID, 1), 'Main site');
-- The first operator login (documented in the README); change it after the first start.
-- Its password is hashed by the program when it first opens the database.
INSERT INTO usuario (COD, LOGIN, "PASSWORD", ROL) VALUES (gen_id(GEN_USUARIO_ID, 1), 'admin', 'admin', 'ADMIN');

COMMIT;
