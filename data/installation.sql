-- Installation database: controllers, cards, their assignments, cardholders and
-- the incidence log. INSTALACION_B.FDB (the empty template) and every
-- INSTALACION_<code>.FDB are made from this script.
--
-- Yes/no flags are VARCHAR(1), not CHAR(1): a UTF8 CHAR(1) reads back padded
-- with blanks through the SQL driver, and every comparison with "S" would fail.
--
-- What later versions added (indexes, the change marker) is made by the
-- program when it opens a file (esquema_instalacion.cpp), old files and new.

CREATE TABLE zarvcontrolador (
  cod                INTEGER NOT NULL,
  puerto_serie       INTEGER,
  tiempo_pta_abierta INTEGER DEFAULT 0 NOT NULL,
  tipo               VARCHAR(20),
  descripcion        VARCHAR(100),
  direccion          SMALLINT,
  CONSTRAINT PK_ZARVCONTROLADOR PRIMARY KEY (cod)
);

CREATE TABLE zarvtarjeta (
  codigo_tarjeta  VARCHAR(10) NOT NULL,
  bloqueado       VARCHAR(1),
  fecha_alta      TIMESTAMP,
  fecha_caducidad TIMESTAMP,
  usuario         INTEGER,
  usar_fecha_cad  VARCHAR(1),
  CONSTRAINT PK_ZARVTARJETA PRIMARY KEY (codigo_tarjeta)
);
CREATE INDEX IX_ZARVTARJETA_USUARIO ON zarvtarjeta (usuario);

-- The inserts name no columns: exactly these three, in this order.
CREATE TABLE zarvcontroladortarjeta (
  tarjeta       VARCHAR(10) NOT NULL,
  controlador   INTEGER NOT NULL,
  "_STOREDINHW" VARCHAR(1),
  CONSTRAINT UQ_ZARVCONTROLADORTARJETA UNIQUE (tarjeta, controlador)
);
CREATE INDEX IX_ZARVCT_CONTROLADOR ON zarvcontroladortarjeta (controlador);

CREATE TABLE zarvusuario (
  id         INTEGER NOT NULL,
  nombre     VARCHAR(100),
  apellidos  VARCHAR(150),
  permanente VARCHAR(1),
  fotografia VARCHAR(255),
  CONSTRAINT PK_ZARVUSUARIO PRIMARY KEY (id)
);
-- The attendance view lists cardholders by surname.
CREATE INDEX IX_ZARVUSUARIO_APELLIDOS ON zarvusuario (apellidos);

CREATE TABLE zarvincidencia (
  cod              INTEGER NOT NULL,
  controlador      INTEGER,
  hist_controlador VARCHAR(100),
  tarjeta          VARCHAR(10),
  hist_tarjeta     VARCHAR(260),
  "TIMESTAMP"      TIMESTAMP,
  descripcion      VARCHAR(300),
  evento           INTEGER,
  usr              INTEGER,
  CONSTRAINT PK_ZARVINCIDENCIA PRIMARY KEY (cod)
);
CREATE INDEX IX_ZARVINCIDENCIA_TS ON zarvincidencia ("TIMESTAMP");
CREATE INDEX IX_ZARVINCIDENCIA_USR ON zarvincidencia (usr);

CREATE GENERATOR GEN_ZARVUSUARIO_ID;
CREATE GENERATOR GEN_ZARVINCIDENCIA_ID;

COMMIT;
